#!/usr/bin/env bash
# Started by a parent that ignores SIGCHLD (some wrappers start programs so),
# the program still learns each tmux client's exit status: a missing session
# is reported as missing, as it is when started normally.
source "$(dirname "$0")/server_lib.sh"
server_init

write_settings "WINDOW_NAME_TEXTBOX=tmux:SPIGOT-SERVER" "AUTOSTART_SHUTDOWN_TICKBOX=1" "AUTOCLOSE_TICKBOX=1"
# exec keeps the ignored disposition, as POSIX has it.
env -u DISPLAY -u WAYLAND_DISPLAY perl -e '$SIG{CHLD} = "IGNORE"; exec @ARGV or die' "$VT_HALTWARD" \
    >>"$PROGRAM_OUT" 2>>"$PROGRAM_ERR" &
PROGRAM_PID=$!
E2E_PIDS+=("$PROGRAM_PID")
expect_report "vt-haltward: no tmux session named 'SPIGOT-SERVER' was found" 13
kill -TERM "$PROGRAM_PID"
wait_for_exit "$PROGRAM_PID" 5 || fail "SIGTERM did not close the program"
status=$(program_status)
[ "$status" = 3 ] || fail "exit status $status after SIGTERM during the run, expected 3"
echo PASS
