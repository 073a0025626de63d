#!/usr/bin/env bash
# Time per say line typed into the stand-in server console under Wine, by
# tests/wine/type_probe.exe (the program's links, composed as the program
# composes them), for two builds in the same go:
#
#   landed  LANDED (default 1837894, built here in a throw-away worktree): the
#           program attached to the consoles itself
#   now     build/windows: a short-lived console helper does the attaching,
#           one for the lookup and one for the write of each step
#
# Each build types LINES lines of 70 characters through the console link
# (TITLE) and through the window path (window:TITLE), then finds the console
# among 100 more processes (half of them on a console of their own). Rounds
# alternate the builds; figures are medians over the rounds, and each is
# also given as a ratio to the landed build's in the same go.
#
# usage: bench/wine_console/run.sh [ROUNDS] [LINES]   (after scripts/test-windows
#        has built build/windows; LANDED=<commit> compares with another commit)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
ROUNDS=${1:-3}
LINES=${2:-100}
LANDED=${LANDED:-1837894}

now_dir=$repo/build/windows
[ -f "$now_dir/tests/wine/type_probe.exe" ] || { echo "build/windows has no type_probe.exe: run scripts/test-windows first" >&2; exit 2; }
export WINE_WORK_ROOT=$repo/build/windows/bench-runs
export WINE_BIN_DIR=$WINE_WORK_ROOT/bin
mkdir -p "$WINE_BIN_DIR"
cp "$now_dir/src/platform/win32/vt-haltward.exe" "$now_dir"/tests/wine/*.exe "$WINE_BIN_DIR/"

source "$here/../landed_build.sh"
build_landed "$LANDED" windows type_probe type_probe.exe "$WINE_BIN_DIR/type_probe_landed.exe" "$WINE_WORK_ROOT" ||
    { echo "the landed type_probe did not build: $(tail -n 20 "$WINE_WORK_ROOT/landed-build.log")" >&2; exit 1; }

source "$repo/tests/wine/lib.sh"
scenario_setup bench
cp "$WINE_BIN_DIR/type_probe.exe" "$WINE_BIN_DIR/type_probe_landed.exe" "$WINE_BIN_DIR/console_tool.exe" \
    "$WINE_BIN_DIR/window_recorder.exe" "$WORK/"
filler=$(printf 'abcdefghijklmnopqrstuvwxyz0123456789%.0s' 1 2)
seq -f "line %03g $filler" 1 "$LINES" | cut -c1-66 >"$WORK/lines.txt"
start_console SPIGOT-SERVER

# probe BUILD TARGET [REPEAT]: "<ms per line> <ms finding the console>"
probe() {
    local exe=type_probe.exe
    [ "$1" = landed ] && exe=type_probe_landed.exe
    (cd "$WORK" && wine "$exe" "$2" lines.txt "${3:-1}" </dev/null 2>&1) |
        tr -d '\r' | sed -n 's/.*, \([0-9.]*\) ms per line, of which \([0-9.]*\) ms finding the console$/\1 \2/p'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

declare -A samples
measure_round() {
    local build target
    for build in landed now; do
        for target in console window; do
            local title=SPIGOT-SERVER
            [ "$target" = window ] && title=window:SPIGOT-SERVER
            read -r line lookup < <(probe "$build" "$title") || fail "type_probe ($build, $title) gave no figures"
            samples[$build.$target.line]+="$line "
            samples[$build.$target.lookup]+="$lookup "
        done
    done
}
for (( round = 1; round <= ROUNDS; ++round )); do measure_round; done

# The 100 processes, then lookups with them running (10 lines a round).
(cd "$WORK" && exec wine console_tool.exe spawn 100 600 spawned.ready </dev/null >/dev/null 2>&1) &
wait_for 60 test -f "$WORK/spawned.ready" || fail "the 100 processes did not start"
for (( round = 1; round <= ROUNDS; ++round )); do
    head -10 "$WORK/lines.txt" >"$WORK/ten.txt"
    for build in landed now; do
        exe=type_probe.exe
        [ "$build" = landed ] && exe=type_probe_landed.exe
        lookup=$( (cd "$WORK" && wine "$exe" SPIGOT-SERVER ten.txt 1 </dev/null 2>&1) |
            tr -d '\r' | sed -n 's/.* \([0-9.]*\) ms finding the console$/\1/p')
        samples[$build.crowd.lookup]+="$lookup "
    done
done

value() { tr ' ' '\n' <<<"${samples[$1]}" | grep . | median; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", (b > 0 ? a / b : 0) }'; }
printf '\n%s rounds, %s lines per run (medians, ms)\n' "$ROUNDS" "$LINES"
printf '| %-34s | %8s | %8s | %10s |\n' "" landed now "now/landed"
printf '|%s|\n' "------------------------------------|----------|----------|------------"
for key in console.line console.lookup window.line window.lookup crowd.lookup; do
    landed=$(value "landed.$key")
    now=$(value "now.$key")
    case $key in
        console.line) label="per line, console link" ;;
        console.lookup) label="  of which finding the console" ;;
        window.line) label="per line, window path" ;;
        window.lookup) label="  of which finding the window" ;;
        crowd.lookup) label="finding it among 100 more processes" ;;
    esac
    printf '| %-34s | %8s | %8s | %10s |\n' "$label" "$landed" "$now" "$(ratio "$now" "$landed")"
done
