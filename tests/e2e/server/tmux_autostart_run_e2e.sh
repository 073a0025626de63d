#!/usr/bin/env bash
# The server way: no display, the console in a tmux session, AutoStart RESTART
# and AutoClose stored. The program performs the whole 210-second run on its
# own: the say lines and "restart" at 10, 70, 130, 190 and 200 s (never
# early, at most a few seconds late), a time-stamped status line for every
# step, each line and the restart confirmed, closing at 210 s and exiting
# with status 0 once the server is back up.
source "$(dirname "$0")/server_lib.sh"
server_init

transcript="$E2E_WORK/console.txt"
# The server runs from a start loop with its restart script, as operators run
# it: "restart" ends it, the loop starts it again in the same pane, and the
# program sees it back up (a server without the script would have stopped
# only, and the run would end with status 4). The restarted server keeps a
# transcript of its own.
ready="$E2E_WORK/ready.first"
cat >"$E2E_WORK/start.sh" <<LOOP
"$DEMO_SERVER" --transcript "$transcript" --ready-file "$ready" --restart-script "$E2E_WORK/start.sh"
while :; do "$DEMO_SERVER" --transcript "$E2E_WORK/restarted.txt" --restart-script "$E2E_WORK/start.sh"; done
LOOP
tmux_session SPIGOT-SERVER bash "$E2E_WORK/start.sh"
wait_until 20 test -e "$ready" || fail "the demo server did not become ready"
write_restart_run_settings
start_program_without_display
arrivals="$E2E_WORK/arrivals.txt"
record_arrivals "$transcript" "$arrivals"
# The run is armed when the program says so.
expect_output "STARTING IN 10 SECS..."
armed_by=$EPOCHREALTIME

wait_for_exit "$PROGRAM_PID" 230 || fail "the program did not close by itself"
status=$(program_status)
[ "$status" = 0 ] || fail "exit status $status, expected 0; it said: $(cat "$PROGRAM_ERR")"
wait_until 5 lines_at_least "$arrivals" 5

expect_restart_schedule "$arrivals" "$PROGRAM_STARTED" "$armed_by"
expect_closed_on_time "$PROGRAM_STARTED" "$armed_by"
statuses=$(sed -n 's/^[0-9-]* [0-9:]* STATUS //p' "$PROGRAM_OUT")
want_statuses="STARTING IN 10 SECS...
SPIGOT SHUTDOWN IN 3 MINS
SPIGOT SHUTDOWN IN 2 MINS
SPIGOT SHUTDOWN IN 1 MIN
!!! SPIGOT RESTARTING !!!
!!! AUTOCLOSING IN 10 SECONDS !!!"
[ "$statuses" = "$want_statuses" ] || fail "status lines: $statuses"
[ ! -s "$PROGRAM_ERR" ] || fail "the program reported: $(cat "$PROGRAM_ERR")"
grep -q "CONFIRMED the server is back up" "$PROGRAM_OUT" || fail "the restart was not seen: $(cat "$PROGRAM_OUT")"
[ "$(stored_value AUTOSTART_RESTART_TICKBOX)" = 1 ] || fail "the restart tick is no longer stored"
echo PASS
