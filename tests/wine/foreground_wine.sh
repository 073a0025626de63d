#!/usr/bin/env bash
# The foreground escalation (plain call, Alt tap, shared input) against a
# scripted Windows that refuses: Wine itself never refuses SetForegroundWindow.
source "$(dirname "$0")/lib.sh"
scenario_setup foreground
cp "$WINE_BIN_DIR/foreground_test.exe" "$WORK/"
(cd "$WORK" && wine foreground_test.exe </dev/null >"$WORK/foreground.out" 2>&1) ||
    fail "$(cat "$WORK/foreground.out")"
log "$(tail -1 "$WORK/foreground.out")"
log "passed"
