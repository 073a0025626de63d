#!/usr/bin/env bash
# The tmux server is stopped (SIGSTOP) just as the first warning is typed:
# the client hangs and is killed on its timeout, its keys still queued for
# the server, which types them once it runs again (SIGCONT). The line must
# arrive once: its fate unknown, it is reported and never typed again, and
# the run goes on to the next warning rather than retrying at the next tick.
source "$(dirname "$0")/server_lib.sh"
server_init

transcript="$E2E_WORK/console.txt"
tmux_console SPIGOT-SERVER "$transcript"
server_pid=$(tmux display-message -p -t '=SPIGOT-SERVER:' '#{pid}')
# A tmux first in PATH that stops the server before the first call that types.
mkdir "$E2E_WORK/bin"
cat >"$E2E_WORK/bin/tmux" <<WRAPPER
#!/bin/sh
case " \$* " in
*" send-keys "*) [ -e "$E2E_WORK/stopped" ] || { touch "$E2E_WORK/stopped"; kill -STOP $server_pid; } ;;
esac
exec $(command -v tmux) "\$@"
WRAPPER
chmod +x "$E2E_WORK/bin/tmux"

write_settings "WINDOW_NAME_TEXTBOX=tmux:SPIGOT-SERVER" "AUTOSTART_RESTART_TICKBOX=1" "AUTOCLOSE_TICKBOX=1" \
    "THREE_MIN_MESSAGE_TEXTBOX=Restart in 3 minutes"
PATH="$E2E_WORK/bin:$PATH" start_program_without_display
wait_until 13 test -e "$E2E_WORK/stopped" || fail "the warning was not typed"
# The client is given 5 s.
expect_report "tmux did not answer within 5 s and was stopped while typing into 'SPIGOT-SERVER'" 8
kill -CONT "$server_pid"
wait_for_file_line "$transcript" "say Restart in 3 minutes" 5 || fail "the stopped server never typed the line"
# The next tick of the first warning's timer, where a retry would type it again.
sleep "$(awk -v t="$(elapsed_since "$PROGRAM_STARTED")" 'BEGIN { print (t < 22 ? 22 - t : 0) }')"
[ "$(grep -cxF "say Restart in 3 minutes" "$transcript")" = 1 ] || fail "the line arrived twice: $(cat "$transcript")"
expect_report "the line is not typed again, the run goes on" 1
kill -TERM "$PROGRAM_PID"
wait_for_exit "$PROGRAM_PID" 5 || fail "SIGTERM did not close the program"
status=$(program_status)
[ "$status" = 3 ] || fail "exit status $status after SIGTERM during the run, expected 3"
grep -qF "the run was aborted by SIGTERM before the 2-minute warning" "$PROGRAM_ERR" ||
    fail "the abort was not said at the 2-minute warning: $(cat "$PROGRAM_ERR")"
echo PASS
