#!/usr/bin/env bash
# No server, no keys, at the level of the console link (watch_probe.exe): a
# console where cmd waits at its prompt is refused before anything is typed,
# with the report the operator reads; a console whose title shows a selection
# ("Select TITLE") is reported as paused, not as missing, and gets nothing.
# A say.bat beside the prompt shows any line that reaches it: typed there on
# purpose (window:TITLE), "say hello" runs it.
source "$(dirname "$0")/lib.sh"
scenario_setup shell_prompt
cp "$WINE_BIN_DIR/watch_probe.exe" "$WORK/"

# probe ARGS...: runs watch_probe, its output in $PROBE_OUT; its status is returned.
probe() {
    local status=0
    PROBE_OUT=$(cd "$WORK" && wine watch_probe.exe "$@" </dev/null 2>&1 | tr -d '\r') || status=$?
    return "$status"
}

printf '@echo %%* >>said.txt\r\n' >"$WORK/say.bat"
printf '@echo off\r\necho.>prompt.ready\r\ncmd /k title SPIGOT-SERVER\r\n' >"$WORK/prompt.bat"
printf 'start prompt.bat\r\n' >"$WORK/launch.bat"
(cd "$WORK" && wine cmd /c launch.bat </dev/null >"$WORK/console.log" 2>&1)
wait_for 30 test -f "$WORK/prompt.ready" || fail "the console did not start"
wait_for 10 shown_window SPIGOT-SERVER || fail "the prompt did not title its console"
# The batch file's cmd, then the one at the prompt (which titles the
# console): both shells, either way.
sleep 1

probe SPIGOT-SERVER say hello 3 && fail "the prompt was typed into: $PROBE_OUT"
expected="refused (no server): the console 'SPIGOT-SERVER' shows a shell prompt: the server is not running there; nothing was typed"
[ "$PROBE_OUT" = "$expected" ] || fail "expected '$expected', got: $PROBE_OUT"
sleep 2
[ ! -e "$WORK/said.txt" ] || fail "keys reached the prompt: $(cat "$WORK/said.txt")"

start_console_running "Select PAUSED-SERVER" paused.txt "recorder.exe paused.txt"
probe PAUSED-SERVER say hello 3 && fail "the paused console was typed into: $PROBE_OUT"
grep -qxF "refused (paused): the console 'PAUSED-SERVER' is paused by a selection in its window (its title shows 'Select PAUSED-SERVER'): the server stands still until the selection ends; nothing was typed" <<<"$PROBE_OUT" ||
    fail "the paused console was not reported as such: $PROBE_OUT"
sleep 1
[ ! -s "$WORK/paused.txt" ] || fail "keys reached the paused console: $(cat "$WORK/paused.txt")"

# What a line typed at the prompt leaves behind.
probe window:SPIGOT-SERVER say hello 1 || true
wait_for 10 test -s "$WORK/said.txt" || fail "a line typed at the prompt left nothing to see: $PROBE_OUT"
log "passed"
