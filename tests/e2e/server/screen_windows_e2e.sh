#!/usr/bin/env bash
# A screen session with a second window: the session's name alone is refused
# with both windows listed (screen would type into whichever window is
# current, the newest), SESSION:WINDOW reaches the window of that number or
# title, and a window that has closed is not found.
source "$(dirname "$0")/server_lib.sh"
server_init
TYPE=$(find_program multiplexer-type)

first="$E2E_WORK/first.bytes"
second="$E2E_WORK/second.bytes"
ready="$E2E_WORK/ready.second"
recorder screen SPIGOT "$first"
"$TYPE" SPIGOT "alone~" || fail "typing into a one-window session failed"
: >"$second"
screen -S "$SCREEN_PID.SPIGOT" -X screen -t logs sh -c \
    "stty -icanon -echo -isig -ixon -iexten min 1; touch '$ready'; exec cat >>'$second'"
wait_until 10 test -e "$ready" || fail "the second window did not start"

status=0
"$TYPE" SPIGOT "x~" 2>"$E2E_WORK/err" || status=$?
[ "$status" = 3 ] || fail "two windows: status $status, $(cat "$E2E_WORK/err")"
grep -qF "the screen session 'SPIGOT' has 2 windows (0 'sh', 1 'logs')" "$E2E_WORK/err" ||
    fail "two windows: $(cat "$E2E_WORK/err")"

"$TYPE" SPIGOT:0 "one~" || fail "typing into window 0 failed"
"$TYPE" screen:SPIGOT:logs "two~" || fail "typing into the window by title failed"
wait_until 5 file_holds "$second" "two"
expect_file "$first" $'alone\none'
expect_file "$second" "two"

screen -S "$SCREEN_PID.SPIGOT" -p 1 -X kill
wait_until 5 sh -c "! screen -S '$SCREEN_PID.SPIGOT' -p 1 -Q number >/dev/null" || fail "the window did not close"
status=0
"$TYPE" SPIGOT:logs "x~" 2>"$E2E_WORK/err" || status=$?
[ "$status" = 1 ] || fail "closed window: status $status, $(cat "$E2E_WORK/err")"
grep -qF "the screen session 'SPIGOT' has no window 'logs'" "$E2E_WORK/err" || fail "closed: $(cat "$E2E_WORK/err")"
"$TYPE" SPIGOT "three~" || fail "typing into the one window left failed"
wait_until 5 file_holds "$first" $'alone\none\nthree'
expect_file "$first" $'alone\none\nthree'
echo PASS
