#!/usr/bin/env bash
# Typing into an ordinary window (not a console): the console link finds it
# by its exact title (no console has it), brings it to the front and types through
# SendInput, Unicode characters exact. Then a second window takes the
# foreground partway through a step: typing stops, the step is reported as
# one of unknown fate ("the line may be incomplete", never to be typed
# again), never as done.
# The keys still queued when the focus moved follow it (0 to 65 in 5 runs
# under Wine): SendInput cannot hold the focus as an X server grab does.
# Consoles are typed through their input buffer and never meet this.
source "$(dirname "$0")/lib.sh"
scenario_setup window_typing
cp "$WINE_BIN_DIR/type_probe.exe" "$WINE_BIN_DIR/window_recorder.exe" "$WORK/"

printf '%s\n' 'Hallo Welt' '§cÄpfel, Öl, Übel – 5 € ß' 'plus {+} braces {{}x{}} +a' '日本語 😀' >"$WORK/lines.txt"
(cd "$WORK" && exec wine window_recorder.exe GUI-TARGET transcript.txt </dev/null >/dev/null 2>&1) &
wait_for 30 test -f "$WORK/transcript.txt.ready" || fail "the window did not start"
(cd "$WORK" && wine type_probe.exe GUI-TARGET lines.txt 5 </dev/null >"$WORK/probe.out" 2>&1) ||
    fail "the probe failed: $(cat "$WORK/probe.out")"
log "$(cat "$WORK/probe.out")"
expected=()
for _ in 1 2 3 4 5; do
    expected+=('say Hallo Welt' 'say §cÄpfel, Öl, Übel – 5 € ß' 'say plus + braces {x} A' 'say 日本語 😀')
done
wait_for 10 lines_at_least "$WORK/transcript.txt" "${#expected[@]}" || true
expect_transcript "${expected[@]}"

# The focus stolen after 30 characters, by a window of the target's own.
wineserver -k; sleep 1
rm -f "$WORK/transcript.txt"*
(cd "$WORK" && exec wine window_recorder.exe GUI-TARGET transcript.txt 30 </dev/null >/dev/null 2>&1) &
wait_for 30 test -f "$WORK/transcript.txt.ready" || fail "the window did not start again"
# One long line, so that the steal comes while its keys are still being sent.
head -c 3000 /dev/zero | tr '\0' x >"$WORK/lines.txt"
echo >>"$WORK/lines.txt"
(cd "$WORK" && wine type_probe.exe GUI-TARGET lines.txt 1 </dev/null >"$WORK/probe.out" 2>&1) &&
    fail "the step was reported as done although the focus had moved: $(cat "$WORK/probe.out")"
grep -q "fate unknown after 0 lines: focus left the console window 'GUI-TARGET' while a line was typed; the line may be incomplete" \
    "$WORK/probe.out" || fail "no focus failure reported: $(cat "$WORK/probe.out")"
sleep 1
reached=$(cat "$WORK/transcript.txt" 2>/dev/null | wc -m || true)
leaked=$(cat "$WORK/transcript.txt.thief" 2>/dev/null | wc -m || true)
log "the focus moved after 30 keys: $reached keys reached the target, $leaked the window that took the focus"
[ $(( reached + leaked )) -lt 3004 ] || fail "all 3004 keys were sent although the focus had moved"
log "passed"
