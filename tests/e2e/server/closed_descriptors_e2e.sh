#!/usr/bin/env bash
# Started with its standard descriptors closed, as some schedulers start
# programs, the program runs as with them open: a status line or a report
# written to a closed descriptor must not wake the loop as a signal would.
# Two programs with settings of their own: one with 0, 1 and 2 closed, whose
# console is there; one with 1 and 2 closed, whose console is missing at the
# first warning (a report) and appears before the retry. Each types its
# warning and runs on until SIGTERM, which it answers with status 3.
source "$(dirname "$0")/server_lib.sh"
server_init

# Settings of its own for the program started next, typing into console NAME.
settings_for() {
    local name=$1
    export XDG_CONFIG_HOME="$E2E_WORK/config-$name"
    SETTINGS_FILE="$XDG_CONFIG_HOME/VT_HALTWARD/settings.ini"
    write_settings "WINDOW_NAME_TEXTBOX=$name" "AUTOSTART_SHUTDOWN_TICKBOX=1" "AUTOCLOSE_TICKBOX=1" \
        "THREE_MIN_MESSAGE_TEXTBOX=Shutdown in 3 minutes"
}

all="$E2E_WORK/all-closed.txt"
tmux_console ALL-CLOSED "$all"
settings_for ALL-CLOSED
env -u DISPLAY -u WAYLAND_DISPLAY "$VT_HALTWARD" <&- >&- 2>&- &
all_pid=$!
E2E_PIDS+=("$all_pid")
settings_for OUT-CLOSED
env -u DISPLAY -u WAYLAND_DISPLAY "$VT_HALTWARD" >&- 2>&- &
out_pid=$!
E2E_PIDS+=("$out_pid")
started=$EPOCHREALTIME

wait_for_file_line "$all" "say Shutdown in 3 minutes" 13 || fail "0, 1 and 2 closed: the warning was not typed"
sleep 2
process_gone "$all_pid" && fail "0, 1 and 2 closed: the program ended after its first warning"
# The missing console was reported at 10 s.
sleep "$(awk -v t="$(elapsed_since "$started")" 'BEGIN { print (t < 11 ? 11 - t : 0) }')"
process_gone "$out_pid" && fail "1 and 2 closed: the program ended at the report of the missing console"
out="$E2E_WORK/out-closed.txt"
tmux_console OUT-CLOSED "$out"
wait_for_file_line "$out" "say Shutdown in 3 minutes" 12 || fail "1 and 2 closed: the warning was not typed on the retry"

for pid in "$all_pid" "$out_pid"; do
    kill -TERM "$pid"
    wait_for_exit "$pid" 5 || fail "SIGTERM did not close the program"
    status=0
    wait "$pid" || status=$?
    [ "$status" = 3 ] || fail "exit status $status after SIGTERM during the run, expected 3"
done
[ "$(wc -l <"$all")" = 1 ] && [ "$(wc -l <"$out")" = 1 ] || fail "a console got more than its warning"
echo PASS
