#!/usr/bin/env bash
# The tmux link reads a step's outcome back through a control-mode client:
# a say line is confirmed by the server's answer (colour codes, umlauts, €,
# CJK), another answer confirms nothing, a restart without a restart script
# and the end of the server's pane are seen. The client is attached only while
# the watch lasts, resizes nothing, and leaves no client and no child behind,
# also when the tmux server hangs.
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
wait_until 10 grep -q '^SIGHTING Answered' "$E2E_WORK/hung.out" || fail "no answer before the hang"
server_pid=$(tmux display-message -p '#{pid}')
kill -STOP "$server_pid"
started=$EPOCHREALTIME
# 1 s left of the watch, and 1 s for the client to leave before it is killed.
wait_for_exit "$watch_pid" 10 || { kill -CONT "$server_pid"; fail "the watch did not end"; }
took=$(elapsed_since "$started")
kill -CONT "$server_pid"
wait "$watch_pid" || fail "console-watch failed: $(cat "$E2E_WORK/hung.out")"
grep -qx 'CHILDREN 0' "$E2E_WORK/hung.out" || fail "the hung client was left behind"
awk -v t="$took" 'BEGIN { exit !(t <= 4) }' || fail "the watch took $took s to end"
note "ended ${took} s after the server hung"
wait_until 5 test -z "$(tmux list-clients)" || fail "a client stayed attached: $(tmux list-clients)"

# A server takes a while to save its worlds after this line. tmux drops what
# a pane printed in its last few milliseconds when the pane closes at once.
note "restart without a restart script: reported, then the pane closes"
tmux kill-session -t =SPIGOT:
tmux_session SPIGOT sh -c "read -r line; echo \"[12:00:00 INFO]: Startup script './start.sh' does not exist! Stopping server.\"; sleep 0.5"
run_watch "$E2E_WORK/restart.out" SPIGOT restart '' 2 'restart~'
sightings=$(grep '^SIGHTING' "$E2E_WORK/restart.out" | cut -d' ' -f2 | tr '\n' ' ')
[ "$sightings" = "NoRestartScript ServerEnded " ] || fail "saw: $(cat "$E2E_WORK/restart.out")"

note "stop: the server's pane closes"
tmux_console SPIGOT "$E2E_WORK/transcript.txt"
run_watch "$E2E_WORK/stop.out" SPIGOT stop '' 2 'stop~'
sightings=$(grep '^SIGHTING' "$E2E_WORK/stop.out" | cut -d' ' -f2 | tr '\n' ' ')
[ "$sightings" = "ServerEnded " ] || fail "saw: $(cat "$E2E_WORK/stop.out")"
echo PASS
