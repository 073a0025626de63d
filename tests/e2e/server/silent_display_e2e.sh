#!/usr/bin/env bash
# DISPLAY names a frozen X server, one that accepts the connection and never
# answers: the program does not wait for it for ever. It says so within its
# 10 seconds and goes on as without a display (here nothing is armed: status
# 2). The bound is the one README promises, with room for a loaded machine.
source "$(dirname "$0")/server_lib.sh"
server_init

write_settings "WINDOW_NAME_TEXTBOX=SPIGOT-SERVER"
spawn "$(find_program silent-x-server)" >"$E2E_WORK/display"
wait_until 10 test -s "$E2E_WORK/display" || fail "the silent X server did not start"
display="127.0.0.1:$(cat "$E2E_WORK/display")"

env -u WAYLAND_DISPLAY DISPLAY="$display" "$VT_HALTWARD" >>"$PROGRAM_OUT" 2>>"$PROGRAM_ERR" &
PROGRAM_PID=$!
E2E_PIDS+=("$PROGRAM_PID")
wait_for_exit "$PROGRAM_PID" 30 || fail "the program still waits for a display that never answers"
status=$(program_status)
[ "$status" = 2 ] || fail "exit status $status, expected 2; it said: $(cat "$PROGRAM_OUT" "$PROGRAM_ERR")"
grep -qF "the X display '$display' did not answer within 10 seconds" "$PROGRAM_ERR" ||
    fail "no word about the silent display: $(cat "$PROGRAM_ERR")"
expect_output "running without windows"
echo PASS
