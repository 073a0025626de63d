#!/usr/bin/env bash
# The programs behind a terminal window: a shell at its prompt is refused
# before the window is touched and nothing is typed; a server's stop is seen
# by its process ending, whether it runs alone or under `bash start.sh`; a
# start loop's new server after a restart is seen; a window whose terminal process cannot be told (no _NET_WM_PID, several
# windows in one process) is typed into as before, saying why it is not
# watched.
source "$(dirname "$0")/../lib.sh"
e2e_init
X11_TYPE=$(find_program x11-type)
HOST=$(find_program terminal-host)

# type_into TITLE X11-TYPE-ARGUMENTS...: sets STATUS; the output in out, errors in err.
type_into() {
    STATUS=0
    "$X11_TYPE" "$@" >"$E2E_WORK/out" 2>"$E2E_WORK/err" || STATUS=$?
}

# hosts_windows PID COUNT: the process runs COUNT programs on terminals of their own.
hosts_windows() {
    [ "$(pgrep -c -P "$1" -x sleep)" = "$2" ]
}

expect_output() {
    grep -qxF -- "$1" "$E2E_WORK/out" || fail "expected the line '$1' from x11-type: $(cat "$E2E_WORK/out" "$E2E_WORK/err")"
}

start_xvfb
notes="$E2E_WORK/notes.txt"
start_recorder NOTES "$notes"
operator=$(shown_window NOTES)

note "a shell at its prompt"
ready="$E2E_WORK/prompt-ready"
typed="$E2E_WORK/typed-at-the-prompt"
PROMPT_COMMAND="touch '$ready'" spawn xterm -u8 -T SHELL-PROMPT -geometry 80x10+0+300 -e bash --norc --noprofile \
    2>>"$E2E_WORK/xterm.log"
wait_until 20 test -e "$ready" || fail "the shell did not show its prompt"
settle_window SHELL-PROMPT
xdotool windowfocus --sync "$operator"
type_into SHELL-PROMPT "touch '$typed'{ENTER}"
[ "$STATUS" = 6 ] || fail "a shell prompt was not refused (status $STATUS): $(cat "$E2E_WORK/err")"
grep -qxF "x11-type: NoServerRunning: the console 'SHELL-PROMPT' shows a shell prompt: the server is not running there; nothing was typed" \
    "$E2E_WORK/err" || fail "the refusal said: $(cat "$E2E_WORK/err")"
sleep 0.5
[ ! -e "$typed" ] || fail "the command was typed into the shell"
[ "$(xdotool getwindowfocus)" = "$operator" ] || fail "the refused console was given the focus"
[ ! -s "$notes" ] || fail "keys reached the operator's window: $(cat "$notes")"

note "the demo server alone: its stop is seen"
transcript="$E2E_WORK/console.txt"
start_console SPIGOT-SERVER "$transcript"
type_into --watch-end 60 SPIGOT-SERVER 'say hello{ENTER}' 'stop{ENTER}'
[ "$STATUS" = 0 ] || fail "typing into the server failed: $(cat "$E2E_WORK/err")"
expect_output "sight: readable=0 watched=1"
grep '^server ended after ' "$E2E_WORK/out" || fail "the server's end was not seen: $(cat "$E2E_WORK/out")"
expect_file "$transcript" $'say hello\nstop'

note "bash start.sh running the server: typed into, its stop seen while the terminal stays"
script="$E2E_WORK/start.sh"
started="$E2E_WORK/started"
second="$E2E_WORK/second.txt"
printf '%s\n' "\"$DEMO_SERVER\" --transcript '$second' --ready-file '$started'" 'echo the server stopped' 'sleep 600' >"$script"
spawn xterm -u8 -T START-SCRIPT -geometry 80x10+0+300 -e bash "$script" 2>>"$E2E_WORK/xterm.log"
terminal=$LAST_PID
wait_until 20 test -e "$started" || fail "the server under start.sh did not start"
settle_window START-SCRIPT
type_into --watch-end 60 START-SCRIPT 'stop{ENTER}'
[ "$STATUS" = 0 ] || fail "typing into start.sh's server failed: $(cat "$E2E_WORK/err")"
expect_output "sight: readable=0 watched=1"
grep '^server ended after ' "$E2E_WORK/out" || fail "the server's end was not seen: $(cat "$E2E_WORK/out")"
expect_file "$second" 'stop'
[ -e "/proc/$terminal" ] || fail "the terminal closed: the server's own end was not what was seen"

note "a start loop: the restart's old server ends and a new one is seen"
loop="$E2E_WORK/loop.sh"
restarted="$E2E_WORK/restarted.txt"
printf '%s\n' "while :; do \"$DEMO_SERVER\" --transcript '$restarted' --ready-file '$started.loop' --restart-script '$loop'; done" \
    >"$loop"
spawn xterm -u8 -T START-LOOP -geometry 80x10+0+300 -e bash "$loop" 2>>"$E2E_WORK/xterm.log"
wait_until 20 test -e "$started.loop" || fail "the server under the start loop did not start"
settle_window START-LOOP
rm "$started.loop"
type_into --watch-end 60 --restart START-LOOP 'restart{ENTER}'
[ "$STATUS" = 0 ] || fail "typing into the start loop's server failed: $(cat "$E2E_WORK/err")"
grep '^server started after ' "$E2E_WORK/out" || fail "the new server was not seen: $(cat "$E2E_WORK/out")"
[ -e "$started.loop" ] || fail "a new server was reported before it had started"
expect_file "$restarted" 'restart'

note "a terminal that does not name its process"
third="$E2E_WORK/third.txt"
start_console NAMELESS "$third"
xprop -id "$(shown_window NAMELESS)" -remove _NET_WM_PID
type_into --watch-end 0 NAMELESS 'say still typed{ENTER}'
[ "$STATUS" = 0 ] || fail "typing into a terminal without _NET_WM_PID failed: $(cat "$E2E_WORK/err")"
expect_output "sight: readable=0 watched=0 (the terminal does not say which process it is (_NET_WM_PID); the server cannot be watched)"
wait_for_file_line "$third" 'say still typed' || fail "the line did not arrive"

note "a terminal process with several windows"
spawn "$HOST" 2
host=$LAST_PID
wait_until 10 hosts_windows "$host" 2 || fail "the terminal host did not start its windows"
fourth="$E2E_WORK/fourth.txt"
start_console SHARED "$fourth"
xprop -id "$(shown_window SHARED)" -f _NET_WM_PID 32c -set _NET_WM_PID "$host"
type_into --watch-end 0 SHARED 'say typed as before{ENTER}'
[ "$STATUS" = 0 ] || fail "typing into a shared terminal failed: $(cat "$E2E_WORK/err")"
expect_output "sight: readable=0 watched=0 (the terminal process hosts several windows; the server cannot be told apart)"
wait_for_file_line "$fourth" 'say typed as before' || fail "the line did not arrive"
echo PASS
