#!/usr/bin/env bash
# The tmux link reads a step's outcome back through a control-mode client:
# a say line is confirmed by the server's answer (colour codes, umlauts, €,
# CJK), another answer confirms nothing, a restart without a restart script,
# the end of the server's pane, and after a restart the pane that closed with
# it are seen. The client is attached only while the watch lasts, resizes
# nothing, and leaves no client and no child behind, also when the tmux server
# hangs.
source "$(dirname "$0")/server_lib.sh"
server_init
WATCH=$(find_program console-watch)

size() { tmux display-message -p -t =SPIGOT: '#{window_width}x#{window_height}'; }
control_client_attached() { tmux list-clients -F '#{client_control_mode}' | grep -qx 1; }


tmux_console SPIGOT "$E2E_WORK/transcript.txt"
window_size=$(size)

note "a say line answered, while the window keeps its size"
say='Grüße €5 中文 §cok'
"$WATCH" SPIGOT say "$say" 2 "say $say~" >"$E2E_WORK/say.out" 2>&1 &
watch_pid=$!
wait_until 10 control_client_attached || fail "no control client attached"
[ "$(size)" = "$window_size" ] || fail "the window was resized to $(size) from $window_size"
wait "$watch_pid" || fail "console-watch failed: $(cat "$E2E_WORK/say.out")"
grep -q '^SIGHTING Answered' "$E2E_WORK/say.out" || fail "the answer was not seen: $(cat "$E2E_WORK/say.out")"
grep -qx 'CHILDREN 0' "$E2E_WORK/say.out" || fail "the watch left a child process"
[ -z "$(tmux list-clients)" ] || fail "a client stayed attached: $(tmux list-clients)"
[ "$(size)" = "$window_size" ] || fail "the window was resized to $(size) from $window_size"
note "$(grep '^SIGHTING' "$E2E_WORK/say.out")"

note "another answer confirms nothing"
run_watch "$E2E_WORK/other.out" SPIGOT say "$say" 1 "say $say!~"
! grep -q '^SIGHTING' "$E2E_WORK/other.out" || fail "a different line confirmed: $(cat "$E2E_WORK/other.out")"

note "a hung tmux server does not hold the end of the watch"
"$WATCH" SPIGOT say hung 1 'say hung~' >"$E2E_WORK/hung.out" 2>&1 &
watch_pid=$!
# Stopped once the keys are in (the typing client would hang as well).
wait_until 10 grep -qx 'DELIVERED' "$E2E_WORK/hung.out" || fail "the keys did not go: $(cat "$E2E_WORK/hung.out")"
server_pid=$(tmux display-message -p '#{pid}')
kill -STOP "$server_pid"
wait_for_exit "$watch_pid" 10 || { kill -CONT "$server_pid"; fail "the watch did not end"; }
kill -CONT "$server_pid"
wait "$watch_pid" || fail "console-watch failed: $(cat "$E2E_WORK/hung.out")"
grep -qx 'CHILDREN 0' "$E2E_WORK/hung.out" || fail "the hung client was left behind"
# The client is given 1 s to leave before it is killed.
took=$(sed -n 's/^WATCH ENDED IN \([0-9]*\) ms$/\1/p' "$E2E_WORK/hung.out")
[ -n "$took" ] && [ "$took" -le 3000 ] || fail "ending the watch took ${took:-?} ms"
note "the watch ended in $took ms with the server stopped"
wait_until 5 test -z "$(tmux list-clients)" || fail "a client stayed attached: $(tmux list-clients)"

note "restart without a restart script: reported, then the pane closes, and no new server is looked for"
tmux kill-session -t =SPIGOT:
tmux_session SPIGOT sh -c "read -r line; echo \"[12:00:00 INFO]: Startup script './start.sh' does not exist! Stopping server.\"; sleep 0.5"
# The closed pane is seen at the first look for a new server, a second after
# the end; ten seconds leave a loaded machine room for it.
run_watch "$E2E_WORK/restart.out" SPIGOT restart '' 10 'restart~'
[ "$(sightings "$E2E_WORK/restart.out")" = "NoRestartScript ServerEnded ConsoleClosed" ] ||
    fail "saw: $(cat "$E2E_WORK/restart.out")"

note "stop: the server's pane closes"
tmux_console SPIGOT "$E2E_WORK/transcript.txt"
run_watch "$E2E_WORK/stop.out" SPIGOT stop '' 2 'stop~'
sightings=$(grep '^SIGHTING' "$E2E_WORK/stop.out" | cut -d' ' -f2 | tr '\n' ' ')
[ "$sightings" = "ServerEnded " ] || fail "saw: $(cat "$E2E_WORK/stop.out")"
echo PASS
