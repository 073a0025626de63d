#!/usr/bin/env bash
# A stored AutoStart tick with a message that is not valid notation, AutoClose
# ticked: the window still appears, unarmed, says why, and stays open, so the
# operator can read it and mend the text in Settings & Messages.
source "$(dirname "$0")/desktop_lib.sh"
desktop_init

start_display
write_settings "WINDOW_NAME_TEXTBOX=SPIGOT-SERVER" "AUTOSTART_RESTART_TICKBOX=1" "AUTOCLOSE_TICKBOX=1" \
    "TWO_MIN_MESSAGE_TEXTBOX=Back soon :)"
start_program
expect_report "bad keystroke notation in the 2-minute message"
# Past the 10 s an armed start would have waited, and AutoClose's 10 s after it.
sleep 12
process_gone "$PROGRAM_PID" && fail "the program closed: $(cat "$PROGRAM_ERR")"
window_shown "$MAIN_TITLE" || fail "the main window is gone"
open_settings
echo PASS
