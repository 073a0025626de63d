#!/usr/bin/env bash
# A copy of the program under another file name keeps settings of its own:
# its section is its own EXEName, it starts from the defaults, and closing it
# leaves the first copy's settings untouched.
source "$(dirname "$0")/lib.sh"
scenario_setup renamed_copy

set_settings vt-haltward "MAIN-Left=4500" "MAIN-Top=6000" "AUTOCLOSE_TICKBOX=1"
start_program server2
[ -n "$(program_window server2)" ] || fail "the copy's window is not titled after its file name"
click_control "$MAIN_WINDOW" 9120 1320 1215 375   # Exit
wait_program_exit 20 || fail "Exit did not end the copy"

expect_setting server2 MAIN-Left 1000
expect_setting server2 MAIN-Top 1000
expect_setting server2 AUTOCLOSE_TICKBOX 0
expect_setting vt-haltward MAIN-Left 4500
expect_setting vt-haltward AUTOCLOSE_TICKBOX 1
log "passed"
