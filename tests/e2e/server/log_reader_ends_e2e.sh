#!/usr/bin/env bash
# `vt-haltward | head -n 1`: the reader of the status lines ends after the
# first. The run goes on all the same (no SIGPIPE): the warning is typed, the
# lost status lines are said once on standard error, and the program ends
# only when told to (SIGTERM: status 3).
source "$(dirname "$0")/server_lib.sh"
server_init

transcript="$E2E_WORK/console.txt"
tmux_console SPIGOT-SERVER "$transcript"
write_settings "WINDOW_NAME_TEXTBOX=SPIGOT-SERVER" "AUTOSTART_SHUTDOWN_TICKBOX=1" "AUTOCLOSE_TICKBOX=1" \
    "THREE_MIN_MESSAGE_TEXTBOX=Shutdown in 3 minutes"
pipe="$E2E_WORK/status.fifo"
mkfifo "$pipe"
head -n 1 <"$pipe" >"$PROGRAM_OUT" &
reader=$!
E2E_PIDS+=("$reader")
env -u DISPLAY -u WAYLAND_DISPLAY "$VT_HALTWARD" >"$pipe" 2>"$PROGRAM_ERR" &
PROGRAM_PID=$!
E2E_PIDS+=("$PROGRAM_PID")
wait_for_exit "$reader" 5 || fail "the reader did not get its line"
[ "$(wc -l <"$PROGRAM_OUT")" = 1 ] || fail "the reader got no status line"

wait_for_file_line "$transcript" "say Shutdown in 3 minutes" 13 || fail "the warning was not typed"
sleep 1
process_gone "$PROGRAM_PID" && fail "the program ended; status $(program_status); it said: $(cat "$PROGRAM_ERR")"
kill -TERM "$PROGRAM_PID"
wait_for_exit "$PROGRAM_PID" 5 || fail "SIGTERM did not close the program"
status=$(program_status)
[ "$status" = 3 ] || fail "exit status $status after SIGTERM during the run, expected 3"
lost=$(grep -c "standard output can no longer be written" "$PROGRAM_ERR")
[ "$lost" = 1 ] || fail "the lost status lines were said $lost times: $(cat "$PROGRAM_ERR")"
[ "$(wc -l <"$transcript")" = 1 ] || fail "the console got more than the warning: $(cat "$transcript")"
echo PASS
