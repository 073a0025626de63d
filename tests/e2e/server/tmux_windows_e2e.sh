#!/usr/bin/env bash
# tmux names: SESSION types into its current window, SESSION:WINDOW into the
# window of that name or number; two windows of the name are refused; a pane
# whose program has exited is reported, not typed into; a name tmux cannot
# have is looked up elsewhere; no tmux server at all is "not found".
source "$(dirname "$0")/server_lib.sh"
server_init
TYPE=$(find_program multiplexer-type)

status=0
"$TYPE" tmux:SPIGOT "x" 2>"$E2E_WORK/err" || status=$?
[ "$status" = 1 ] || fail "no tmux server: status $status, $(cat "$E2E_WORK/err")"
grep -qF "no tmux session named 'SPIGOT' was found" "$E2E_WORK/err" || fail "no server: $(cat "$E2E_WORK/err")"

first="$E2E_WORK/first.bytes"
second="$E2E_WORK/second.bytes"
recorder tmux SPIGOT "$first"
ready="$E2E_WORK/ready.second"
: >"$second"
tmux new-window -d -t =SPIGOT: -n logs -- sh -c "stty -icanon -echo min 1; touch '$ready'; exec cat >>'$second'"
tmux set-option -w -t =SPIGOT:logs automatic-rename off >/dev/null
wait_until 10 test -e "$ready" || fail "the second window did not start"

"$TYPE" SPIGOT "one~" || fail "typing into the session failed"
"$TYPE" SPIGOT:logs "two~" || fail "typing into the window by name failed"
"$TYPE" SPIGOT:1 "three~" || fail "typing into the window by number failed"
wait_until 5 file_holds "$second" $'two\nthree'
expect_file "$first" "one"
expect_file "$second" $'two\nthree'

tmux new-window -d -t =SPIGOT: -n logs -- sleep 600
status=0
"$TYPE" SPIGOT:logs "x" 2>"$E2E_WORK/err" || status=$?
[ "$status" = 3 ] || fail "two windows named logs: status $status, $(cat "$E2E_WORK/err")"
grep -qF "2 windows named 'logs'" "$E2E_WORK/err" || fail "ambiguous: $(cat "$E2E_WORK/err")"

tmux new-session -d -s DEAD -- sleep 600
tmux set-option -w -t =DEAD: remain-on-exit on >/dev/null
tmux respawn-pane -k -t =DEAD: -- true
wait_until 5 sh -c "tmux display-message -p -t =DEAD: '#{pane_dead}' | grep -qx 1" || fail "the pane did not die"
status=0
"$TYPE" tmux:DEAD "x" 2>"$E2E_WORK/err" || status=$?
[ "$status" = 1 ] || fail "dead pane: status $status, $(cat "$E2E_WORK/err")"
grep -qF "has exited" "$E2E_WORK/err" || fail "dead pane: $(cat "$E2E_WORK/err")"

status=0
"$TYPE" tmux:My.Server "x" 2>"$E2E_WORK/err" || status=$?
[ "$status" = 1 ] || fail "impossible name: status $status, $(cat "$E2E_WORK/err")"
grep -qF "'My.Server'" "$E2E_WORK/err" || fail "impossible name: $(cat "$E2E_WORK/err")"
echo PASS
