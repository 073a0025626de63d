#!/usr/bin/env bash
# The Win32 event loop runs what other threads post, on its own thread, in
# order, even while a modal loop it does not own (a message box) runs:
# loop_probe.exe's last task closes the box.
source "$(dirname "$0")/lib.sh"
scenario_setup loop_wake
cp "$WINE_BIN_DIR/loop_probe.exe" "$WORK/"
out=$(cd "$WORK" && timeout 30 wine loop_probe.exe </dev/null 2>&1 | tr -d '\r') ||
    fail "the posted tasks did not all run as they should (or the box stayed open): $out"
log "$out"
log "passed"
