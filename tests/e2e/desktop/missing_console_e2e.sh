#!/usr/bin/env bash
# An armed run with no console window: the program reports it, keeps running,
# and types the warning at the next tick once the console has appeared. STOP
# still aborts.
source "$(dirname "$0")/desktop_lib.sh"
desktop_init

start_display
write_settings "WINDOW_NAME_TEXTBOX=SPIGOT-SERVER" "AUTOSTART_SHUTDOWN_TICKBOX=1" \
    "THREE_MIN_MESSAGE_TEXTBOX=§eStopping in 3 minutes"
start_program
expect_report "no window titled 'SPIGOT-SERVER' was found" 15
process_gone "$PROGRAM_PID" && fail "the program ended after the failure"

transcript="$E2E_WORK/console.txt"
start_console SPIGOT-SERVER "$transcript"
wait_for_file_line "$transcript" "say §eStopping in 3 minutes" 15 ||
    fail "the warning was not typed once the console appeared"

click_main START_STOP_BUTTON
sleep 1
process_gone "$PROGRAM_PID" && fail "the program ended"
[ "$(wc -l <"$transcript")" -eq 1 ] || fail "more than the one warning was typed"
echo PASS
