#!/usr/bin/env bash
# With no display and no stored AutoStart tick, nobody could ever start a run:
# the program says which file and keys arm one, stores nothing and exits 2.
source "$(dirname "$0")/server_lib.sh"
server_init

write_settings "WINDOW_NAME_TEXTBOX=SPIGOT-SERVER" "AUTOCLOSE_TICKBOX=1"
before=$(cat "$SETTINGS_FILE")
start_program_without_display
wait_for_exit "$PROGRAM_PID" 10 || fail "the program did not end"
status=$(program_status)
[ "$status" = 2 ] || fail "exit status $status, expected 2; it said: $(cat "$PROGRAM_ERR")"
for text in "$SETTINGS_FILE" "[vt-haltward]" AUTOSTART_SHUTDOWN_TICKBOX=1 AUTOSTART_RESTART_TICKBOX=1 AUTOCLOSE_TICKBOX=1; do
    grep -qF -- "$text" "$PROGRAM_ERR" || fail "the explanation does not name '$text': $(cat "$PROGRAM_ERR")"
done
[ "$(cat "$SETTINGS_FILE")" = "$before" ] || fail "the settings file was changed"
echo PASS
