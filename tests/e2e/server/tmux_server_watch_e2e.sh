#!/usr/bin/env bash
# The tmux link and the server behind the pane: a pane at a shell prompt is
# refused with nothing typed; `bash start.sh` running the server is typed
# into and its answer read; the server's end is seen from its processes (a
# start loop keeps the pane open) and, after a restart, the new server.
source "$(dirname "$0")/server_lib.sh"
server_init
scripts="$E2E_WORK/server"
start_scripts "$scripts"


note "a shell prompt is refused, nothing typed"
tmux_session PROMPT bash --norc -i
wait_until 10 sh -c "tmux capture-pane -p -t =PROMPT: | grep -q 'bash'" || fail "no prompt in the pane"
expect_refused PROMPT
sleep 0.3
! tmux capture-pane -p -t =PROMPT: | grep -q 'say' || fail "keys reached the shell: $(tmux capture-pane -p -t =PROMPT:)"

note "bash start.sh runs the server: typed into, answered, its end seen"
tmux -f /dev/null new-session -d -s START -x 120 -y 30 -c "$scripts" -- bash start.sh
wait_until 20 sh -c "tmux capture-pane -p -t =START: | grep -q 'Done'" ||
    fail "the server did not start"
run_watch "$E2E_WORK/start.out" START say 'from start.sh' 1 'say from start.sh~'
[ "$(sightings "$E2E_WORK/start.out")" = Answered ] || fail "saw: $(cat "$E2E_WORK/start.out")"
wait_for_file_line "$scripts/transcript.txt" 'say from start.sh' || fail "the line did not reach the server"
run_watch "$E2E_WORK/stop.out" START stop '' 2 'stop~'
[ "$(sightings "$E2E_WORK/stop.out")" = ServerEnded ] || fail "saw: $(cat "$E2E_WORK/stop.out")"

note "a start loop: stop ends the server, restart also sees the new one"
tmux -f /dev/null new-session -d -s LOOP -x 120 -y 30 -c "$scripts" -- bash loop.sh
wait_until 20 sh -c "tmux capture-pane -p -t =LOOP: | grep -q 'Done'" || fail "the server did not start"
expect_start_loop LOOP
echo PASS
