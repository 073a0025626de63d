#!/usr/bin/env bash
# A stored AutoStart tick with a message that is not valid notation, AutoClose
# ticked, as a scheduled task starts it: the window opens unarmed with the
# report in its red strip and stays open, since a Windows program has no
# standard error to read it in, and Settings & Messages opens to mend it.
source "$(dirname "$0")/lib.sh"
scenario_setup stored_bad_notation

set_settings vt-haltward "AUTOSTART_RESTART_TICKBOX=1" "AUTOCLOSE_TICKBOX=1" \
    "WINDOW_NAME_TEXTBOX=SPIGOT-SERVER" "TWO_MIN_MESSAGE_TEXTBOX=Back soon :)"
start_program
wait_for 10 red_strip_shown "$MAIN_WINDOW" || fail "the report does not show in the main window"
# Past the 10 s an armed start would have waited, and AutoClose's 10 s after it.
sleep 12
kill -0 "$PROGRAM_PID" || fail "the program closed: $(cat "$WORK/program.err")"
click_control "$MAIN_WINDOW" 7080 1320 1695 375   # Settings & Messages
wait_for 10 program_window "Settings & Messages" || fail "Settings & Messages did not open"
log "passed"
