#!/usr/bin/env bash
# The server console closed while its keys are being typed: a server that
# never reads, so the keys wait in its input; once they are there, Ctrl+C
# goes to the console and its window is closed. The program keeps running,
# reports that the line did not reach the server (and then that the server's
# programs ended), and Exit still ends it the ordinary way.
source "$(dirname "$0")/lib.sh"
scenario_setup console_closed
cp "$WINE_BIN_DIR/console_tool.exe" "$WORK/"

set_settings vt-haltward "WINDOW_NAME_TEXTBOX=SPIGOT-SERVER" "SHUTDOWN_RESTART_MESSAGE_TEXTBOX=bye" \
    "MAIN-Left=300" "MAIN-Top=7500"
start_console_running SPIGOT-SERVER closing.txt "console_tool.exe close-on-keys closing.txt"
start_program

click_control "$MAIN_WINDOW" 240 1200 735 495     # Enable
click_control "$MAIN_WINDOW" 1080 1200 1215 495   # SHUTDOWN NOW
wait_for 20 grep -qx 'keys waiting' "$WORK/closing.txt" || fail "no keys reached the console: $(cat "$WORK/program.err")"
wait_console_closed SPIGOT-SERVER || fail "the console was not closed: $(cat "$WORK/closing.txt")"
log "the console: $(tr '\n' ' ' <"$WORK/closing.txt")"
kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended with the console: $(cat "$WORK/program.err")"
wait_for 10 grep -q "SPIGOT-SERVER" "$WORK/program.err" ||
    fail "the program reported nothing: $(cat "$WORK/program.err")"
log "the report: $(cat "$WORK/program.err")"
sleep 2
kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended with the console"
program_window vt-haltward >/dev/null || fail "the main window went away"
# The strip shows the newest report: the failure, or the server's end that
# the watch on the command saw after it (good news, in grey).
if grep -q "^vt-haltward: CONFIRMED the server stopped" "$WORK/program.out"; then
    grey_strip_shown "$MAIN_WINDOW" || fail "the server's end does not show in the main window"
else
    red_strip_shown "$MAIN_WINDOW" || fail "the failure does not show in the main window"
fi

click_control "$MAIN_WINDOW" 9120 1320 1215 375   # Exit
wait_program_exit 20 || fail "Exit did not end the program"
log "passed"
