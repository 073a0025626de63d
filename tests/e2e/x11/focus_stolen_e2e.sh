#!/usr/bin/env bash
# Another window takes the focus while long lines are being typed: typing stops
# with FocusLost, not one key reaches the other window, and every line that
# reached the console arrived whole.
source "$(dirname "$0")/../lib.sh"
e2e_init
X11_TYPE=$(find_program x11-type)

start_xvfb
transcript="$E2E_WORK/console.txt"
stolen="$E2E_WORK/other.txt"
start_recorder OTHER-WINDOW "$stolen"
start_console SPIGOT-SERVER "$transcript"
other=$(xdotool search --name '^OTHER-WINDOW$' | head -n 1)

filler=$(printf 'abcdefghijklmnopqrstuvwxyz0123456789%.0s' 1 2 3 4)
lines=()
for i in $(seq -w 1 80); do
    lines+=("say line $i $filler")
done
strings=()
for line in "${lines[@]}"; do
    strings+=("$line{ENTER}")
done

# Steal the focus about a third of the way through, again and again.
steal() {
    sleep 0.4
    for _ in $(seq 100); do
        xdotool windowfocus "$other" 2>/dev/null
        sleep 0.02
    done
}
spawn steal
status=0
"$X11_TYPE" --pause-ms 15 SPIGOT-SERVER "${strings[@]}" >"$E2E_WORK/out" 2>"$E2E_WORK/err" || status=$?
wait_for_exit "$LAST_PID" 10 || fail "the focus thief did not finish"
cat "$E2E_WORK/out" "$E2E_WORK/err"

[ "$status" = 3 ] || fail "x11-type ended with status $status, not 3 (FocusLost)"
grep -qF "focus left the console window 'SPIGOT-SERVER'; nothing was typed" "$E2E_WORK/err" \
    || fail "FocusLost carried the wrong message"
sent=$(sed -n 's/^sent \([0-9]*\) of .*/\1/p' "$E2E_WORK/out")
[ "$sent" -gt 0 ] && [ "$sent" -lt 80 ] || fail "the focus was not stolen midway ($sent of 80 lines sent)"

sleep 0.3
[ ! -s "$stolen" ] || fail "$(wc -c <"$stolen") bytes leaked into the other window: $(head -c 80 "$stolen")"

# A cut string would leave its start in the console's line and spoil this one.
"$X11_TYPE" SPIGOT-SERVER 'stop{ENTER}' >/dev/null || fail "typing stop after the theft failed"
wait_for_exit "$CONSOLE_PID" 10 || fail "the console did not stop: a cut line got in the way"
expected=$(printf '%s\n' "${lines[@]:0:$sent}" stop)
expect_file "$transcript" "$expected"
echo "PASS ($sent of 80 lines typed before the focus moved)"
