#!/usr/bin/env bash
# Which tmux pane a name reaches: a pane in copy mode is brought out of it and
# gets the keys (the t of "stop" included, which copy mode answers with "no
# current client"); a window split in two needs the pane named, as
# SESSION:WINDOW.PANE; a session id ("$2") or a client's tty ("pts/N") is never
# taken for a session's name.
source "$(dirname "$0")/server_lib.sh"
server_init
TYPE=$(find_program multiplexer-type)

# expect_refused STATUS TEXT NAME: typing into NAME fails with STATUS and says TEXT.
expect_refused() {
    local status=0
    "$TYPE" "$3" "x~" 2>"$E2E_WORK/err" || status=$?
    [ "$status" = "$1" ] || fail "$3: status $status, expected $1; it said: $(cat "$E2E_WORK/err")"
    grep -qF -- "$2" "$E2E_WORK/err" || fail "$3: $(cat "$E2E_WORK/err")"
}

first="$E2E_WORK/first.bytes"
recorder tmux SPIGOT "$first"
tmux copy-mode -t =SPIGOT:
[ "$(tmux display-message -p -t =SPIGOT: '#{pane_in_mode}')" = 1 ] || fail "the pane did not enter copy mode"
"$TYPE" SPIGOT "say tea time~" || fail "typing into a pane in copy mode failed"
"$TYPE" SPIGOT "stop~" || fail "typing stop into the pane failed"
wait_until 5 file_holds "$first" $'say tea time\nstop'
expect_file "$first" $'say tea time\nstop'
[ "$(tmux display-message -p -t =SPIGOT: '#{pane_in_mode}')" = 0 ] || fail "the pane is still in copy mode"

# split-window makes the new pane the window's active one.
second="$E2E_WORK/second.bytes"
ready="$E2E_WORK/ready.second"
: >"$second"
tmux split-window -t =SPIGOT:0 -- sh -c "stty -icanon -echo min 1; touch '$ready'; exec cat >>'$second'"
wait_until 10 test -e "$ready" || fail "the second pane did not start"
expect_refused 3 "the tmux window 'SPIGOT:0' has 2 panes ('SPIGOT:0.0' cat, 'SPIGOT:0.1' cat)" SPIGOT
expect_refused 3 "2 panes" SPIGOT:0
"$TYPE" SPIGOT:0.0 "one~" || fail "typing into pane 0 failed"
"$TYPE" tmux:SPIGOT:0.1 "two~" || fail "typing into pane 1 failed"
wait_until 5 file_holds "$second" "two"
expect_file "$first" $'say tea time\nstop\none'
expect_file "$second" "two"
expect_refused 1 "has no pane 2" SPIGOT:0.2

raw="$E2E_WORK/raw.bytes"
recorder tmux RAW "$raw"
id=$(tmux display-message -p -t =RAW: '#{session_id}')
expect_refused 1 "no tmux session named '$id' was found" "tmux:$id"
# A client attached to RAW, on the tty of a pane of HOST.
tmux new-session -d -s HOST -x 100 -y 30 -- env -u TMUX tmux attach -t =RAW:
tty=$(tmux display-message -p -t =HOST: '#{pane_tty}')
wait_until 10 sh -c "tmux list-clients -F '#{client_tty} #{session_name}' | grep -qx '$tty RAW'" ||
    fail "no client of RAW on $tty: $(tmux list-clients)"
expect_refused 1 "no tmux session named '${tty#/dev/}' was found" "tmux:${tty#/dev/}"
sleep 0.3
[ ! -s "$raw" ] || fail "keys went into RAW: $(cat "$raw")"
expect_file "$first" $'say tea time\nstop\none'
expect_file "$second" "two"
echo PASS
