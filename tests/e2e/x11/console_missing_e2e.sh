#!/usr/bin/env bash
# No window with the title, two windows with it, an empty title, and a console
# that closes after activation: each is ConsoleNotFound with a message that
# says which, and nothing is typed. A missing display is reported by name.
source "$(dirname "$0")/../lib.sh"
e2e_init
X11_TYPE=$(find_program x11-type)

# expect_not_found TITLE MESSAGE_PART
expect_not_found() {
    local status=0
    "$X11_TYPE" "$1" 'say must not arrive{ENTER}' 2>"$E2E_WORK/err" >/dev/null || status=$?
    [ "$status" = 2 ] || fail "title '$1': exit status $status, not 2 (ConsoleNotFound): $(cat "$E2E_WORK/err")"
    grep -qF -- "$2" "$E2E_WORK/err" || fail "title '$1': the message '$(cat "$E2E_WORK/err")' lacks '$2'"
}

start_xvfb
first="$E2E_WORK/first.txt"
second="$E2E_WORK/second.txt"
start_console SPIGOT-SERVER "$first"
first_pid=$CONSOLE_PID

expect_not_found SPIGOT "no window titled 'SPIGOT' was found"
expect_not_found SPIGOT-SERVER2 "no window titled 'SPIGOT-SERVER2' was found"
expect_not_found "" "title is empty"

start_console SPIGOT-SERVER "$second"
second_pid=$CONSOLE_PID
expect_not_found SPIGOT-SERVER "2 windows are titled 'SPIGOT-SERVER'"

# Nothing reached either console: an Enter would have written a line.
sleep 0.3
[ ! -s "$first" ] && [ ! -s "$second" ] || fail "keys reached a console although none was chosen"

# The console closes between activation and typing: the next string fails
# with ConsoleNotFound, saying it closed.
third="$E2E_WORK/third.txt"
kill "$first_pid" "$second_pid"
wait_for_exit "$first_pid" 5 && wait_for_exit "$second_pid" 5 || fail "the consoles did not close"
start_console SPIGOT-SERVER "$third"
( wait_for_file_line "$third" 'say first' 20 && kill "$CONSOLE_PID" ) &
status=0
"$X11_TYPE" --pause-ms 4000 SPIGOT-SERVER 'say first{ENTER}' 'say second{ENTER}' >"$E2E_WORK/out" 2>"$E2E_WORK/err" \
    || status=$?
[ "$status" = 2 ] && grep -qF "the console window 'SPIGOT-SERVER' has closed" "$E2E_WORK/err" \
    || fail "a console that closed was not reported: status $status, $(cat "$E2E_WORK/err")"
grep -qx 'sent 1 of 2' "$E2E_WORK/out" || fail "expected exactly the first string typed: $(cat "$E2E_WORK/out")"
expect_file "$third" 'say first'

# Without a display the link says which display it could not open.
status=0
DISPLAY=:999 "$X11_TYPE" SPIGOT-SERVER 'x' 2>"$E2E_WORK/err" >/dev/null || status=$?
[ "$status" = 1 ] && grep -qF "cannot open the X display ':999'" "$E2E_WORK/err" \
    || fail "a missing display was not reported: status $status, $(cat "$E2E_WORK/err")"
echo PASS
