#!/usr/bin/env bash
# Two screen sessions of the console's name: the step is refused with both
# named, nothing is typed into either, and the run keeps waiting (no display)
# until SIGINT aborts it (status 3).
source "$(dirname "$0")/server_lib.sh"
server_init

first="$E2E_WORK/first.txt"
second="$E2E_WORK/second.txt"
recorder screen SPIGOT-SERVER "$first"
first_pid=$SCREEN_PID
recorder screen SPIGOT-SERVER "$second"
second_pid=$SCREEN_PID
write_settings "WINDOW_NAME_TEXTBOX=SPIGOT-SERVER" "AUTOSTART_RESTART_TICKBOX=1" "AUTOCLOSE_TICKBOX=1"
start_program_without_display
expect_report "there are 2 screen sessions named 'SPIGOT-SERVER'" 13
expect_report "$first_pid.SPIGOT-SERVER" 1
expect_report "$second_pid.SPIGOT-SERVER" 1
sleep 0.5
[ ! -s "$first" ] && [ ! -s "$second" ] || fail "keys went to a guessed session: $(cat "$first" "$second")"
kill -INT "$PROGRAM_PID"
wait_for_exit "$PROGRAM_PID" 5 || fail "SIGINT did not close the program"
status=$(program_status)
[ "$status" = 3 ] || fail "exit status $status after SIGINT during the run, expected 3"
echo PASS
