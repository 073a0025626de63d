#!/usr/bin/env bash
# The console minimised and behind the operator's window: SHUTDOWN NOW,
# clicked for real, types the line and "stop" into the console's input
# buffer exactly, without activating the console or restoring it. A watcher
# logs every change of Windows' foreground window meanwhile (under Wine
# without a window manager only GetForegroundWindow shows an activation).
source "$(dirname "$0")/lib.sh"
scenario_setup background_console
cp "$WINE_BIN_DIR/foreground_watch.exe" "$WORK/"

final='§cServer stops NOW – Grüße, 5 €'
set_settings vt-haltward \
    "WINDOW_NAME_TEXTBOX=SPIGOT-SERVER" \
    "SHUTDOWN_RESTART_MESSAGE_TEXTBOX=$final" \
    "MAIN-Left=10500" "MAIN-Top=9000"
start_console SPIGOT-SERVER
start_program
(cd "$WORK" && exec wine foreground_watch.exe watch.log 25 SPIGOT-SERVER </dev/null >"$WORK/watch.out" 2>&1) &
wait_for 30 test -f "$WORK/watch.log.ready" || fail "the watcher did not start: $(cat "$WORK/watch.out")"

click_control "$MAIN_WINDOW" 240 1200 735 495     # Enable
click_control "$MAIN_WINDOW" 1080 1200 1215 495   # SHUTDOWN NOW
wait_for 20 grep -qx stop "$WORK/transcript.txt" || fail "no stop arrived: $(cat "$WORK/program.err")"
expect_transcript "say $final" stop
sleep 1
log "foreground and console state while the step ran:"
sed 's/^/    | /' "$WORK/watch.log" >&2
grep -q '^foreground SPIGOT-SERVER' "$WORK/watch.log" && fail "the console was activated"
grep -qx 'iconic 1' "$WORK/watch.log" || fail "the console was never seen minimised"
grep -qx 'iconic 0' "$WORK/watch.log" && fail "the console was restored"
wait_for 10 grep -qx closed "$WORK/watch.log" || fail "the console did not end after stop"
log "passed"
