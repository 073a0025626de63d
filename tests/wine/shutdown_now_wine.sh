#!/usr/bin/env bash
# "Enable" then "SHUTDOWN NOW", clicked for real: the console receives the
# final text exactly ("§c" colour code, umlauts, "€", notation taking effect)
# and then "stop"; a click ticks AutoClose, and Exit stores the window's
# position and the ticks.
source "$(dirname "$0")/lib.sh"
scenario_setup shutdown_now

final='§cServer stops NOW – Äpfel, Öl, Übel, Grüße: 5 € {+}1'
set_settings vt-haltward \
    "WINDOW_NAME_TEXTBOX=SPIGOT-SERVER" \
    "SHUTDOWN_RESTART_MESSAGE_TEXTBOX=$final" \
    "MAIN-Left=1510" "MAIN-Top=7500"
start_console SPIGOT-SERVER
start_program
log "exec to mapped window: ${START_MS} ms"

click_control "$MAIN_WINDOW" 240 1200 735 495     # Enable
click_control "$MAIN_WINDOW" 1080 1200 1215 495   # SHUTDOWN NOW
wait_for 20 grep -qx stop "$WORK/transcript.txt" || fail "no stop arrived"
expect_transcript 'say §cServer stops NOW – Äpfel, Öl, Übel, Grüße: 5 € +1' stop

click_control "$MAIN_WINDOW" 5880 1320 1095 255   # AutoClose
click_control "$MAIN_WINDOW" 9120 1320 1215 375   # Exit
wait_program_exit 20 || fail "Exit did not end the program"
expect_setting vt-haltward MAIN-Left 1510
expect_setting vt-haltward MAIN-Top 7500
expect_setting vt-haltward AUTOSTART_SHUTDOWN_TICKBOX 0
expect_setting vt-haltward AUTOCLOSE_TICKBOX 1
expect_setting vt-haltward SHUTDOWN_RESTART_MESSAGE_TEXTBOX "$final"
log "passed"
