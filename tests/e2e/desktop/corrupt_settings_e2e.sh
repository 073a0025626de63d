#!/usr/bin/env bash
# A settings file that cannot be read is reported with its path, the program
# still starts with the defaults, and nothing it does overwrites the file.
source "$(dirname "$0")/desktop_lib.sh"
desktop_init

start_display
mkdir -p -m 700 "$(dirname "$SETTINGS_FILE")"
printf '[vt-haltward]\nWINDOW_NAME_TEXTBOX=SPIGOT-SERVER\nthis line is no setting\n' >"$SETTINGS_FILE"
chmod 600 "$SETTINGS_FILE"
cp "$SETTINGS_FILE" "$E2E_WORK/original.ini"
start_program
expect_report "$SETTINGS_FILE"
click_main AUTOCLOSE_TICKBOX
click_main EXIT_BUTTON
sleep 0.5
process_gone "$PROGRAM_PID" && fail "EXIT closed the program although its settings could not be stored"
cmp -s "$SETTINGS_FILE" "$E2E_WORK/original.ini" || fail "the unreadable settings file was changed"
[ "$(grep -c "$SETTINGS_FILE" "$PROGRAM_ERR")" -ge 1 ] || fail "the report does not name the file"
echo PASS
