#!/usr/bin/env bash
# The final text edited in Settings & Messages and confirmed with Enter is
# stored and is what SHUTDOWN NOW types next.
source "$(dirname "$0")/desktop_lib.sh"
desktop_init

start_display
write_settings "WINDOW_NAME_TEXTBOX=SPIGOT-SERVER" "SHUTDOWN_RESTART_MESSAGE_TEXTBOX=old words"
start_program
open_settings
click_settings SHUTDOWN_RESTART_MESSAGE_TEXTBOX
xdotool key --clearmodifiers ctrl+a BackSpace
xdotool type --delay 20 'Back in 5 minutes'
xdotool key Return
wait_until 10 sh -c "! xdotool search --name '^$SETTINGS_TITLE\$' >/dev/null" ||
    fail "Enter did not close the dialog"
[ "$(stored_value SHUTDOWN_RESTART_MESSAGE_TEXTBOX)" = 'Back in 5 minutes' ] ||
    fail "stored: '$(stored_value SHUTDOWN_RESTART_MESSAGE_TEXTBOX)'"
[ -n "$(stored_value MESSAGE-SETTINGS-Left)" ] || fail "the dialog's position was not stored"

transcript="$E2E_WORK/console.txt"
start_console SPIGOT-SERVER "$transcript"
click_main ENABLE_NO_WARNINGS_BUTTON
click_main SHUTDOWN_NO_WARNINGS_BUTTON
wait_for_exit "$CONSOLE_PID" 10 || fail "the console did not stop"
expect_file "$transcript" "say Back in 5 minutes
stop"
echo PASS
