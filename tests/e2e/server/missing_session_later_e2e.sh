#!/usr/bin/env bash
# With no display: a stored AutoStart SHUTDOWN arms the run; the tmux session
# is missing at the first warning, which is reported and tried again at the
# timer's next tick, when the session has appeared. SIGTERM then closes the
# program as its close box would, placement and ticks stored, and the run it
# cut short gives the exit status 3.
source "$(dirname "$0")/server_lib.sh"
server_init

write_settings "WINDOW_NAME_TEXTBOX=SPIGOT-SERVER" "AUTOSTART_SHUTDOWN_TICKBOX=1" "AUTOCLOSE_TICKBOX=1" \
    "THREE_MIN_MESSAGE_TEXTBOX=§eShutdown in 3 minutes"
start_program_without_display
expect_output "STATUS STARTING IN 10 SECS..." 5
armed_by=$EPOCHREALTIME
grep -qE '^[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2} STATUS STARTING IN 10 SECS\.\.\.$' "$PROGRAM_OUT" ||
    fail "the status line is not time-stamped: $(cat "$PROGRAM_OUT")"
expect_report "no tmux session named 'SPIGOT-SERVER' was found" 20
expect_report "no screen session named 'SPIGOT-SERVER' was found" 1
expect_on_time "the missing session reported" "$EPOCHREALTIME" "$PROGRAM_STARTED" "$armed_by" 10

transcript="$E2E_WORK/console.txt"
tmux_console SPIGOT-SERVER "$transcript"
wait_for_file_line "$transcript" "say §eShutdown in 3 minutes" 20 || fail "the warning was not typed on the retry"
expect_on_time "the retried warning" "$EPOCHREALTIME" "$PROGRAM_STARTED" "$armed_by" 20
expect_output "STATUS SPIGOT SHUTDOWN IN 3 MINS" 1

kill -TERM "$PROGRAM_PID"
wait_for_exit "$PROGRAM_PID" 5 || fail "SIGTERM did not close the program"
status=$(program_status)
[ "$status" = 3 ] || fail "exit status $status after SIGTERM, expected 3"
[ -n "$(stored_value MAIN-Left)" ] || fail "the close did not store the window position"
[ "$(stored_value AUTOSTART_SHUTDOWN_TICKBOX)" = 1 ] || fail "the shutdown tick is no longer stored"
[ "$(wc -l <"$transcript")" = 1 ] || fail "the console got more than the warning: $(cat "$transcript")"
echo PASS
