#!/usr/bin/env bash
# The program sees that the server obeyed: SHUTDOWN NOW into a stand-in
# server that answers as Spigot does; the final line is confirmed by its
# answer and stop by the server's end, each reported as good news (a line on
# standard output, the strip in grey, not red), and Exit still ends the
# program the ordinary way.
source "$(dirname "$0")/lib.sh"
scenario_setup confirmation

set_settings vt-haltward "WINDOW_NAME_TEXTBOX=SPIGOT-SERVER" "SHUTDOWN_RESTART_MESSAGE_TEXTBOX=§cBack in a minute" \
    "MAIN-Left=300" "MAIN-Top=7500"
start_console_running SPIGOT-SERVER transcript.txt "recorder.exe transcript.txt answer"
start_program

click_control "$MAIN_WINDOW" 240 1200 735 495     # Enable
click_control "$MAIN_WINDOW" 1080 1200 1215 495   # SHUTDOWN NOW
# Six helpers start for the two steps, each allowed 10 s: a loaded machine
# takes seconds for each.
wait_for 60 grep -qx stop "$WORK/transcript.txt" || fail "no stop arrived: $(cat "$WORK/program.err")"
expect_transcript 'say §cBack in a minute' stop
wait_for 20 grep -q "CONFIRMED the server stopped .* after stop" "$WORK/program.out" ||
    fail "the server's end was not reported: $(cat "$WORK/program.out" "$WORK/program.err")"
# Each is seen by a watch of its own: the answer may be told after the end.
# (Late, it is "CONFIRMED the server answered ... late".)
wait_for 10 grep -q "CONFIRMED the server answered" "$WORK/program.out" ||
    fail "the final line's answer was not reported: $(cat "$WORK/program.out" "$WORK/program.err")"
# On a loaded machine the answer may come after the 5 s the program waits:
# then it is told as unconfirmed (on standard error), and again as confirmed
# late; nothing else may go wrong.
grep -v "UNCONFIRMED the server did not answer the final message" "$WORK/program.err" | grep -q . &&
    fail "bad news was reported: $(cat "$WORK/program.err")"
log "the reports: $(tr '\n' ' ' <"$WORK/program.out")"
wait_for 5 grey_strip_shown "$MAIN_WINDOW" || fail "the good news does not show in grey"
red_strip_shown "$MAIN_WINDOW" && fail "the good news shows in red"

click_control "$MAIN_WINDOW" 9120 1320 1215 375   # Exit
wait_program_exit 20 || fail "Exit did not end the program"
log "passed"
