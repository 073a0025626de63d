#!/usr/bin/env bash
# SHUTDOWN NOW into tmux and screen consoles whose server stops at once, then
# takes 2 s, then 20 s: the stop is confirmed by the server's end, with how
# long it took, and the program then closed by Exit ends with status 0. A
# server that ends as the keys arrive closes its window before the link can
# ask for it: that too is a stop obeyed, not a failure.
source "$(dirname "$0")/server_lib.sh"
server_init
start_display
for kind in tmux screen; do
    for stop_seconds in 0 2 20; do
        note "$kind, a server that stops in $stop_seconds s"
        command_now "$kind" SHUTDOWN_NO_WARNINGS_BUTTON 60 "CONFIRMED the server stopped" \
            --stop-seconds "$stop_seconds"
        [ "$STATUS" = 0 ] || fail "exit status $STATUS: $REPORTS"
        # Never before the server saved its worlds; on a busy machine a
        # little after.
        took=$(grep -oE "CONFIRMED the server stopped [0-9]+\.[0-9] s after stop" <<<"$REPORTS" | grep -oE "[0-9]+\.[0-9]")
        awk -v took="$took" -v least="$stop_seconds" 'BEGIN { exit !(took >= least && took <= least + 10) }' ||
            fail "the stop was confirmed $took s after stop, the server took $stop_seconds s: $REPORTS"
        cleanup_sessions
    done
done
echo PASS
