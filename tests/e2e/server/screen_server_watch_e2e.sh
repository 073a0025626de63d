#!/usr/bin/env bash
# The screen link and the server behind the window (screen's child with the
# window's number in its environment): a window at a shell prompt is refused
# with nothing typed; `bash start.sh` running the server is typed into and
# its answer read; with a start loop, the server's end is seen from its
# processes, a restart's report from a last copy of the window, and the new
# server after it.
source "$(dirname "$0")/server_lib.sh"
server_init
scripts="$E2E_WORK/server"
start_scripts "$scripts"
private_tmpdir


# window_text NAME: the window's text, scrollback included.
window_text() {
    local copy="$E2E_WORK/copy.txt"
    rm -f "$copy"
    screen -S "$1" -p 0 -X hardcopy -h "$copy" && wait_until 5 test -e "$copy" && sleep 0.1 && cat "$copy"
}

note "a shell prompt is refused, nothing typed"
screen_session PROMPT bash --norc -i
wait_until 10 sh -c "screen -S PROMPT -p 0 -X hardcopy '$E2E_WORK/p.txt' && grep -q bash '$E2E_WORK/p.txt'" ||
    fail "no prompt in the window"
expect_refused PROMPT
sleep 0.3
! window_text PROMPT | grep -q 'say' || fail "keys reached the shell: $(window_text PROMPT)"

note "bash start.sh runs the server: typed into and answered"
screen_session START sh -c "cd '$scripts' && exec bash start.sh"
wait_until 20 sh -c "screen -S START -p 0 -X hardcopy '$E2E_WORK/s.txt' && grep -q Done '$E2E_WORK/s.txt'" ||
    fail "the server did not start"
run_watch "$E2E_WORK/start.out" START say 'from start.sh' 1 'say from start.sh~'
[ "$(sightings "$E2E_WORK/start.out")" = Answered ] || fail "saw: $(cat "$E2E_WORK/start.out")"
wait_for_file_line "$scripts/transcript.txt" 'say from start.sh' || fail "the line did not reach the server"

note "a start loop: stop ends the server, restart is reported and the new server seen"
screen_session LOOP sh -c "cd '$scripts' && exec bash loop.sh"
wait_until 20 sh -c "screen -S LOOP -p 0 -X hardcopy '$E2E_WORK/l.txt' && grep -q Done '$E2E_WORK/l.txt'" ||
    fail "the server did not start"
expect_start_loop LOOP
echo PASS
