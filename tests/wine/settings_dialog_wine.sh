#!/usr/bin/env bash
# The Settings & Messages dialog, driven by real clicks and keys: it opens
# with the stored texts, Tab moves between its boxes, Enter in a text box
# acts as OK, and OK stores all six texts exactly (non-ASCII included) and
# the position it was dragged to in the registry.
source "$(dirname "$0")/lib.sh"
scenario_setup settings_dialog

three='In 3 Minuten: Neustart – bitte ausloggen! §e€'
two='Noch 2 Minuten ~ {+}'
one='1 Minute: "Grüße" & Tschüss'
final='§cJetzt: Server stoppt (Übel)'
set_settings vt-haltward \
    "WINDOW_NAME_TEXTBOX=SPIGOT-SERVER" "SERVER_NAME_TEXTBOX=Welt Süd" \
    "THREE_MIN_MESSAGE_TEXTBOX=$three" "TWO_MIN_MESSAGE_TEXTBOX=$two" \
    "ONE_MIN_MESSAGE_TEXTBOX=$one" "SHUTDOWN_RESTART_MESSAGE_TEXTBOX=$final" \
    "MAIN-Left=300" "MAIN-Top=300" "MESSAGE-SETTINGS-Left=3010" "MESSAGE-SETTINGS-Top=4500"
start_program

click_control "$MAIN_WINDOW" 7080 1320 1695 375   # Settings && Messages
dialog_window() { shown_window 'VT-HALTWARD - Settings & Messages'; }
wait_for 10 dialog_window || fail "the dialog did not open"
dialog=$(dialog_window)
# The dialog has read the store; with these gone, only OK can bring them back.
for key in THREE_MIN_MESSAGE_TEXTBOX TWO_MIN_MESSAGE_TEXTBOX ONE_MIN_MESSAGE_TEXTBOX \
           SHUTDOWN_RESTART_MESSAGE_TEXTBOX MESSAGE-SETTINGS-Left MESSAGE-SETTINGS-Top; do
    wine reg delete "$SETTINGS_KEY\\vt-haltward" /v "$key" /f >/dev/null 2>&1 || fail "could not delete $key"
done
setting vt-haltward TWO_MIN_MESSAGE_TEXTBOX >/dev/null && fail "the stored value was not deleted"

# Dragged by its title bar 60 px right and 30 px down: 3010 twips were 201 px.
xdotool mousemove --window "$dialog" 200 10 mousedown 1 mousemove_relative 30 15 mousemove_relative 30 15 mouseup 1
sleep 0.5
click_control "$dialog" 3000 120 5415 375         # the console title box
xdotool key End
xdotool type --delay 30 -- "-1"
xdotool key Tab                                    # to the server name, all of it selected
xdotool type --delay 30 -- "Server Two"
xdotool key Return                                 # Enter in a text box acts as OK
wait_for 10 bash -c "[ -z \"\$(xdotool search --name '^VT-HALTWARD - Settings & Messages\$')\" ]" ||
    fail "Enter did not close the dialog"

expect_setting vt-haltward WINDOW_NAME_TEXTBOX "SPIGOT-SERVER-1"
expect_setting vt-haltward SERVER_NAME_TEXTBOX "Server Two"
expect_setting vt-haltward THREE_MIN_MESSAGE_TEXTBOX "$three"
expect_setting vt-haltward TWO_MIN_MESSAGE_TEXTBOX "$two"
expect_setting vt-haltward ONE_MIN_MESSAGE_TEXTBOX "$one"
expect_setting vt-haltward SHUTDOWN_RESTART_MESSAGE_TEXTBOX "$final"
expect_setting vt-haltward MESSAGE-SETTINGS-Left 3915
expect_setting vt-haltward MESSAGE-SETTINGS-Top 4950

kill -0 "$PROGRAM_PID" || fail "the program ended with the dialog"
click_control "$MAIN_WINDOW" 9120 1320 1215 375   # Exit
wait_program_exit 20 || fail "Exit did not end the program"
expect_setting vt-haltward MAIN-Left 300
log "passed"
