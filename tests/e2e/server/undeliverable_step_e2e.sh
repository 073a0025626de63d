#!/usr/bin/env bash
# A warning longer than screen carries in one step can never be typed: with no
# display and AutoClose, the run gives up at its first attempt, says why, and
# the program exits with status 1 at once instead of retrying for five minutes.
source "$(dirname "$0")/server_lib.sh"
server_init

console="$E2E_WORK/console.bytes"
recorder screen SPIGOT-SERVER "$console"
long=$(printf 'The server restarts soon. %.0s' {1..24})
write_settings "WINDOW_NAME_TEXTBOX=SPIGOT-SERVER" "AUTOSTART_RESTART_TICKBOX=1" "AUTOCLOSE_TICKBOX=1" \
    "THREE_MIN_MESSAGE_TEXTBOX=$long"
start_program_without_display
# The first warning is due at 10 s; a retry would come at each tick after it
# for five minutes. Exiting within a minute with a single report is giving up
# at once, however slowly a loaded machine starts and ends the program.
wait_for_exit "$PROGRAM_PID" 60 || fail "the program did not give up; it said: $(cat "$PROGRAM_ERR")"
status=$(program_status)
[ "$status" = 1 ] || fail "exit status $status, expected 1; it said: $(cat "$PROGRAM_ERR")"
expect_report "gave up at once: this step is too long for screen" 1
[ "$(grep -c "too long for screen" "$PROGRAM_ERR")" = 1 ] || fail "reported more than once: $(cat "$PROGRAM_ERR")"
[ ! -s "$console" ] || fail "something was typed: $(cat "$console")"
echo PASS
