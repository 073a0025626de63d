#!/usr/bin/env bash
# SHUTDOWN NOW into tmux and screen consoles whose server takes 2 s, then
# 20 s, to stop: the stop is confirmed by the server's end, with how long it
# took, and the program closed by AutoClose exits 0.
source "$(dirname "$0")/server_lib.sh"
server_init
require_confirming_program
start_display
for kind in tmux screen; do
    for stop_seconds in 2 20; do
        note "$kind, a server that stops in $stop_seconds s"
        command_now "$kind" SHUTDOWN_NO_WARNINGS_BUTTON 60 --stop-seconds "$stop_seconds"
        [ "$STATUS" = 0 ] || fail "exit status $STATUS: $REPORTS"
        grep -qE "the server stopped ($stop_seconds|$((stop_seconds + 1)))\.[0-9] s after stop" <<<"$REPORTS" ||
            fail "the stop was not confirmed with its time: $REPORTS"
        cleanup_sessions
    done
done
echo PASS
