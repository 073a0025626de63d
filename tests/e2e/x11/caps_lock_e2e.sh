#!/usr/bin/env bash
# With Caps Lock on, mixed-case text and a bound character arrive as written,
# and Caps Lock is on again afterwards.
source "$(dirname "$0")/../lib.sh"
e2e_init
X11_TYPE=$(find_program x11-type)
KEYBOARD_STATE=$(find_program x11-keyboard-state)

start_xvfb
transcript="$E2E_WORK/console.txt"
start_console SPIGOT-SERVER "$transcript"
xdotool key Caps_Lock
"$KEYBOARD_STATE" | grep -qx 'caps_lock=on' || fail "Caps Lock could not be switched on for the test"

"$X11_TYPE" SPIGOT-SERVER 'say Hello World, ÄÖÜ äöü É €{ENTER}' 'say MiXeD cAsE 123{ENTER}' || fail "x11-type failed"
wait_for_file_line "$transcript" 'say MiXeD cAsE 123' || fail "the second line did not arrive"
expect_file "$transcript" 'say Hello World, ÄÖÜ äöü É €
say MiXeD cAsE 123'
"$KEYBOARD_STATE" | grep -qx 'caps_lock=on' || fail "Caps Lock was not locked again after typing"
echo PASS
