#!/usr/bin/env bash
# SHUTDOWN NOW with no console open: the failure shows in the main window
# and on standard error, the program keeps running, and once the console
# is there the same button types into it and the report goes away. Alt+F4
# closes the program the ordinary way, storing its position.
source "$(dirname "$0")/lib.sh"
scenario_setup missing_console

# Below where the console window will open, so that it does not cover the buttons.
set_settings vt-haltward "WINDOW_NAME_TEXTBOX=SPIGOT-SERVER" "SHUTDOWN_RESTART_MESSAGE_TEXTBOX=bye" \
    "MAIN-Left=300" "MAIN-Top=7500"
start_program
red_strip_shown "$MAIN_WINDOW" && fail "a failure shows before anything failed"

click_control "$MAIN_WINDOW" 240 1200 735 495     # Enable
click_control "$MAIN_WINDOW" 1080 1200 1215 495   # SHUTDOWN NOW
wait_for 10 grep -q "no window titled 'SPIGOT-SERVER'" "$WORK/program.err" ||
    fail "no report on standard error: $(cat "$WORK/program.err")"
wait_for 5 red_strip_shown "$MAIN_WINDOW" || fail "the failure does not show in the main window"
kill -0 "$PROGRAM_PID" || fail "the program ended after the failure"
[ -z "$(program_window vt-haltward)" ] && fail "the main window went away"

start_console SPIGOT-SERVER
click_control "$MAIN_WINDOW" 1080 1200 1215 495   # SHUTDOWN NOW, again
wait_for 20 grep -qx stop "$WORK/transcript.txt" || fail "no stop arrived once the console was there"
expect_transcript 'say bye' stop
wait_for 5 bash -c "! $(declare -f red_strip_shown strip_shown); CLIENT_DX=$CLIENT_DX; red_strip_shown $MAIN_WINDOW" ||
    fail "the report stayed after the step succeeded"

wait_console_closed SPIGOT-SERVER || fail "the console did not end after stop"
click_control "$MAIN_WINDOW" 2160 240 855 255     # the STATUS: label, to bring the window back to the front
xdotool key alt+F4
wait_program_exit 20 || fail "Alt+F4 did not end the program"
expect_setting vt-haltward MAIN-Top 7500
log "passed"
