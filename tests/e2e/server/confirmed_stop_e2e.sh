#!/usr/bin/env bash
# SHUTDOWN NOW into tmux and screen consoles whose server stops at once, then
# takes 2 s, then 20 s: the stop is confirmed by the server's end, with how
# long it took, and the program then closed by Exit ends with status 0. A
# server that ends as the keys arrive closes its window before the link can
# ask for it: that too is a stop obeyed, not a failure. RESTART NOW into a
# start loop around a server with its restart script: the old server's end
# and the new one are confirmed, status 0. Without the loop the console closes
# with the old server: that is said at once, not after a minute's look.
source "$(dirname "$0")/server_lib.sh"
server_init
start_display
# The restart script need only exist: the loop brings the server back, as
# operators' start scripts do.
touch "$E2E_WORK/start.sh"
printf '#!/bin/bash\nwhile :; do "%s" "$@" --restart-script "%s"; done\n' "$DEMO_SERVER" "$E2E_WORK/start.sh" \
    >"$E2E_WORK/loop.sh"
chmod +x "$E2E_WORK/loop.sh"
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

    note "$kind, a restart whose console closes with its server"
    command_now "$kind" RESTART_NO_WARNINGS_BUTTON 30 "UNWATCHED the console closed with the old server" \
        --restart-script "$E2E_WORK/start.sh"
    [ "$STATUS" = 0 ] || fail "exit status $STATUS: $REPORTS"
    grep -qE "CONFIRMED the old server ended [0-9.]+ s after restart" <<<"$REPORTS" ||
        fail "the old server's end was not confirmed: $REPORTS"
    cleanup_sessions

    note "$kind, a restart in a start loop"
    DEMO_SERVER="$E2E_WORK/loop.sh" command_now "$kind" RESTART_NO_WARNINGS_BUTTON 60 \
        "CONFIRMED the server is back up"
    [ "$STATUS" = 0 ] || fail "exit status $STATUS: $REPORTS"
    grep -qE "CONFIRMED the old server ended [0-9.]+ s after restart" <<<"$REPORTS" ||
        fail "the old server's end was not confirmed: $REPORTS"
    cleanup_sessions
done
echo PASS
