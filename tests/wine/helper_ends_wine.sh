#!/usr/bin/env bash
# The console helper ending badly, with real processes and pipes: what the
# program reports says exactly how far the step got, a helper that ended
# while or after it wrote the keys leaves the step's fate unknown (never to
# be typed again), and a helper that never answers is ended instead of
# holding the program.
source "$(dirname "$0")/lib.sh"
scenario_setup helper_ends
cp "$WINE_BIN_DIR/helper_stub.exe" "$WORK/"

# expect_report MODE TEXT: the report for a helper acting as MODE contains TEXT.
expect_report() {
    local out
    out=$(cd "$WORK" && wine helper_stub.exe "$1" </dev/null 2>&1 | tr -d '\r') || fail "helper_stub $1 failed: $out"
    log "$1: ${out//$'\n'/ | }"
    grep -qF -- "$2" <<<"$out" || fail "helper $1: expected '$2' in: $out"
}

expect_report typed "typed"
expect_report cut-writing "unknown: typing into the console 'SPIGOT-SERVER' was cut short (the console helper: it ended with status 3); the line may be incomplete"
expect_report cut-written "unknown: the console 'SPIGOT-SERVER' went away before its program read the keys (the console helper: it ended with status 0xC000013A)"
expect_report nonsense "failed: the console helper's answer makes no sense"
expect_report hang "failed: could not type into the console 'SPIGOT-SERVER' (the console helper: it did not answer in time); nothing was typed"
log "passed"
