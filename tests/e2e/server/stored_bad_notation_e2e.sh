#!/usr/bin/env bash
# Without a display nobody could mend a stored message that is not valid
# notation: the program says why and exits at once with status 1, AutoClose
# or not, and types nothing.
source "$(dirname "$0")/server_lib.sh"
server_init

transcript="$E2E_WORK/console.txt"
tmux_console SPIGOT-SERVER "$transcript"
write_settings "WINDOW_NAME_TEXTBOX=SPIGOT-SERVER" "AUTOSTART_SHUTDOWN_TICKBOX=1" \
    "THREE_MIN_MESSAGE_TEXTBOX={NOSUCHKEY}"
start_program_without_display
wait_for_exit "$PROGRAM_PID" 10 || fail "the program did not end"
status=$(program_status)
[ "$status" = 1 ] || fail "exit status $status, expected 1; it said: $(cat "$PROGRAM_ERR")"
grep -qF "bad keystroke notation in the 3-minute message" "$PROGRAM_ERR" ||
    fail "no word about the message: $(cat "$PROGRAM_ERR")"
[ ! -s "$transcript" ] || fail "something was typed: $(cat "$transcript")"
echo PASS
