#!/usr/bin/env bash
# Named keys and modifiers reach the terminal as keys: Backspace erases,
# Control+U kills the line, Tab is a tab, Shift+letter is upper case, and
# "~" is Enter. The terminal's line editing shows they were real key presses.
source "$(dirname "$0")/../lib.sh"
e2e_init
X11_TYPE=$(find_program x11-type)

start_xvfb
transcript="$E2E_WORK/console.txt"
start_console SPIGOT-SERVER "$transcript"
"$X11_TYPE" SPIGOT-SERVER \
    'say abcd{BACKSPACE}{BS}X{ENTER}' \
    'say junk^usay kept~' \
    'say a{TAB}b{ENTER}' \
    'say +h+(ello) {F1}{ENTER}' \
    'say {a 3}{~}{ENTER}' || fail "x11-type failed"
wait_for_file_line "$transcript" 'say aaa~' || fail "the last line did not arrive: $(cat "$transcript")"
expect_file "$transcript" "say abX
say kept
say a	b
say HELLO "$'\e'"OP
say aaa~"
echo PASS
