#!/usr/bin/env bash
# Servers that do not do as told, in tmux and screen: one that never stops
# (the stop bound shortened to 5 s through VT_HALTWARD_STOP_WAIT) and a
# restart without a restart script are reported, and the program then
# closed by Exit ends with status 4. So is a frozen console, whose final
# message is reported unanswered and typed only once.
source "$(dirname "$0")/server_lib.sh"
server_init
start_display
export VT_HALTWARD_STOP_WAIT=5
for kind in tmux screen; do
    note "$kind, a server that never stops"
    command_now "$kind" SHUTDOWN_NO_WARNINGS_BUTTON 40 "NOT STOPPED" --never-stop
    [ "$STATUS" = 4 ] || fail "exit status $STATUS, expected 4: $REPORTS"
    cleanup_sessions

    note "$kind, restart without a restart script"
    # As a real server, it takes a moment to save its worlds before it ends.
    command_now "$kind" RESTART_NO_WARNINGS_BUTTON 40 "NOT RESTARTED" --stop-seconds 2
    [ "$STATUS" = 4 ] || fail "exit status $STATUS, expected 4: $REPORTS"
    grep -qF "the server stopped but did not restart: it has no restart script (spigot.yml restart-script)" \
        <<<"$REPORTS" || fail "not reported: $REPORTS"
    cleanup_sessions
done

note "tmux, a frozen console"
COMMAND_SETTINGS=("SHUTDOWN_RESTART_MESSAGE_TEXTBOX=Back in a minute")
command_now tmux SHUTDOWN_NO_WARNINGS_BUTTON 40 "NOT STOPPED" --ignore-input
[ "$STATUS" = 4 ] || fail "exit status $STATUS, expected 4: $REPORTS"
grep -qF "UNCONFIRMED the server did not answer the final message" <<<"$REPORTS" || fail "not reported: $REPORTS"
# The terminal echoes what arrives, read or not.
pane=$(tmux capture-pane -p -J -S - -t "=SPIGOT-SERVER:")
[ "$(grep -c 'say Back in a minute' <<<"$pane")" = 1 ] || fail "the final message was not typed exactly once: $pane"
echo PASS
