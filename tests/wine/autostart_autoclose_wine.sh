#!/usr/bin/env bash
# The whole warned stop with nobody at the keyboard, on real Win32 timers,
# as the nightly scheduled task runs it: a stored AutoStart SHUTDOWN tick
# arms the run at start, the three warnings and the final text arrive at 10,
# 70, 130 and 190 s, each answered by the stand-in server and so confirmed,
# "stop" at 200 s (never early, at most a few
# seconds late: a step's own typing does not push the rest back), and
# AutoClose ends the program at 210 s, once the server's end is seen,
# leaving the ticks and the window position stored for the next start. The console is minimised behind another window and
# never becomes the foreground window (a watcher logs every change). The About
# dialog, opened after the first warning and left open, blocks none of it:
# AutoClose closes it first, and it stores its position. Takes 210 s.
source "$(dirname "$0")/lib.sh"
scenario_setup autostart_autoclose
cp "$WINE_BIN_DIR/foreground_watch.exe" "$WORK/"

set_settings vt-haltward \
    "AUTOSTART_SHUTDOWN_TICKBOX=1" "AUTOCLOSE_TICKBOX=1" \
    "WINDOW_NAME_TEXTBOX=SPIGOT-SERVER" \
    "THREE_MIN_MESSAGE_TEXTBOX=§eServer stoppt in 3 Minuten" \
    "TWO_MIN_MESSAGE_TEXTBOX=§6Noch 2 Minuten – Übel" \
    "ONE_MIN_MESSAGE_TEXTBOX=§cNur 1 Minute! Kosten: 0 €" \
    "SHUTDOWN_RESTART_MESSAGE_TEXTBOX=§4Tschüss!" \
    "MAIN-Left=300" "MAIN-Top=7500"
start_console_running SPIGOT-SERVER transcript.txt "recorder.exe transcript.txt answer"
(cd "$WORK" && exec wine foreground_watch.exe watch.log 260 SPIGOT-SERVER </dev/null >"$WORK/watch.out" 2>&1) &
wait_for 30 test -f "$WORK/watch.log.ready" || fail "the watcher did not start: $(cat "$WORK/watch.out")"
# Each line of the transcript with the time it was seen, polled every 50 ms.
(
    seen=0
    while :; do
        count=0
        [ -f "$WORK/transcript.txt" ] && count=$(wc -l <"$WORK/transcript.txt")
        while [ "$seen" -lt "$count" ]; do
            seen=$((seen + 1))
            now_ms >>"$WORK/arrivals.txt"
        done
        nap 0.05
    done
) &
poller=$!
trap 'kill $poller 2>/dev/null; scenario_teardown' EXIT
begin=$(now_ms)
start_program
shown=$(now_ms)
wait_for 20 test -s "$WORK/transcript.txt" || fail "the first warning did not arrive"
click_control "$MAIN_WINDOW" 240 600 1695 255     # About
wait_for 10 shown_window 'VT-HALTWARD - ABOUT' || fail "About did not open"
setting vt-haltward ABOUT-Left >/dev/null && fail "ABOUT-Left is stored before About has closed"
wait_program_exit 260 || fail "the program did not close itself within 260 s"
ended=$(now_ms)
elapsed=$(( ended - begin ))
log "start to self-close: ${elapsed} ms"

expect_transcript 'say §eServer stoppt in 3 Minuten' 'say §6Noch 2 Minuten – Übel' \
    'say §cNur 1 Minute! Kosten: 0 €' 'say §4Tschüss!' stop
[ ! -s "$WORK/program.err" ] || fail "a step failed (and was tried again): $(cat "$WORK/program.err")"
mapfile -t at <"$WORK/arrivals.txt"
# Each line at its time of the run, which was armed between begin and shown:
# never early, and late by its own step only, never by the steps before it.
# Every step starts a helper process under Wine: on two cores at a load
# average of 20 that took up to 11 s. The program gives a helper 30 s before
# it ends it, so a line may come that late, and no later (a retry would show
# in program.err above).
due=(10000 70000 130000 190000 200000)
for i in "${!due[@]}"; do
    log "line $i: $(( at[i] - begin )) ms after the start, due at ${due[i]} ms"
    [ $(( at[i] - begin )) -ge "${due[i]}" ] || fail "line $i came early"
    [ $(( at[i] - shown )) -le $(( due[i] + 35000 )) ] || fail "line $i came more than 35 s late"
done
# AutoClose counts its 10 s from the stop's tick, or from the stop's end
# when typing it took longer than that: 200 s + 30 s + 10 s at most.
[ "$elapsed" -ge 210000 ] && [ $(( ended - shown )) -le 245000 ] || fail "the run took $elapsed ms, expected 210 s"

grep -q '^foreground SPIGOT-SERVER' "$WORK/watch.log" && fail "the console was activated: $(cat "$WORK/watch.log")"
grep -qx 'iconic 0' "$WORK/watch.log" && fail "the console was restored: $(cat "$WORK/watch.log")"
expect_setting vt-haltward AUTOSTART_SHUTDOWN_TICKBOX 1
expect_setting vt-haltward AUTOSTART_RESTART_TICKBOX 0
expect_setting vt-haltward AUTOCLOSE_TICKBOX 1
expect_setting vt-haltward MAIN-Left 300
expect_setting vt-haltward MAIN-Top 7500
expect_setting vt-haltward ABOUT-Left 1000
expect_setting vt-haltward ABOUT-Top 1000
log "passed"
