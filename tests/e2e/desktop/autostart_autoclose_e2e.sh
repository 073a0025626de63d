#!/usr/bin/env bash
# AutoStart RESTART with AutoClose from a prepared settings file: the program
# runs the whole 210-second sequence on its own, the console receives the four
# say lines and "restart" at 10, 70, 130, 190 and 200 s into the run (never
# early, at most a few seconds late), the program closes by itself at 210 s
# and the restart tick is still stored.
source "$(dirname "$0")/desktop_lib.sh"
desktop_init

start_display
transcript="$E2E_WORK/console.txt"
start_console SPIGOT-SERVER "$transcript"
write_restart_run_settings
start_program
arrivals="$E2E_WORK/arrivals.txt"
record_arrivals "$transcript" "$arrivals"

wait_for_exit "$PROGRAM_PID" 230 || fail "the program did not close by itself"
wait_until 5 lines_at_least "$arrivals" 5

expect_restart_schedule "$arrivals" "$PROGRAM_STARTED" "$PROGRAM_SHOWN"
expect_closed_on_time "$PROGRAM_STARTED" "$PROGRAM_SHOWN"
[ "$(stored_value AUTOSTART_RESTART_TICKBOX)" = 1 ] || fail "the restart tick is no longer stored"
[ "$(stored_value AUTOCLOSE_TICKBOX)" = 1 ] || fail "the AutoClose tick is no longer stored"
[ -n "$(stored_value MAIN-Left)" ] || fail "the window position was not stored"
echo PASS
