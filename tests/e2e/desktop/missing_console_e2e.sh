#!/usr/bin/env bash
# An armed run with no console window: the program reports it, keeps running,
# and types the warning at the next tick once the console has appeared. STOP
# still aborts. The desktop is a Wayland one (XWayland serves the X11 windows):
# the report says that a native Wayland terminal is never found.
source "$(dirname "$0")/desktop_lib.sh"
desktop_init

start_display
write_settings "WINDOW_NAME_TEXTBOX=SPIGOT-SERVER" "AUTOSTART_SHUTDOWN_TICKBOX=1" \
    "THREE_MIN_MESSAGE_TEXTBOX=§eStopping in 3 minutes"
export WAYLAND_DISPLAY=wayland-vt-e2e
start_program
expect_report "no window titled 'SPIGOT-SERVER' was found (WAYLAND_DISPLAY is set: a native Wayland terminal" 15
expect_report "run the server in tmux or screen"
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
