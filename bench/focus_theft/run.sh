#!/usr/bin/env bash
# Types 60 say lines into the demo console while another client moves the
# focus to a second window every 3 ms, once as the landed program typed a say
# line and once as the program types it now, and counts what the console and
# the other window received:
#
#   landed  the x11-type of LANDED (default e2237e0, built here in a throw-away
#           worktree): one activation, then "say ", the text and {ENTER} as
#           three strings, each under its own focus check, stopping at the
#           first one refused; a refused line is typed again from "say " (the
#           timer's next tick did so), up to 3 tries per line.
#   now     the x11-type of BUILD_DIR in --each mode: the line is one step,
#           "say text{ENTER}", all its keys under one server grab; a refused
#           step is typed again, up to 3 tries per line.
#
# Counts, no timings. Each round runs both configurations, one after the
# other, on the same display, console and other window.
#
# usage: bench/focus_theft/run.sh [BUILD_DIR] [ROUNDS]   (BUILD_DIR: a build with
#        x11-type and demo-server, e.g. build/debug; LANDED=<commit> to compare
#        with another commit)
here=$(cd "$(dirname "$0")" && pwd)
export VT_BUILD_DIR=${1:-${VT_BUILD_DIR:-$here/../../build/debug}}
ROUNDS=${2:-1}
LANDED=${LANDED:-e2237e0}
LINES_PER_RUN=60
TRIES=3
source "$here/../../tests/e2e/lib.sh"
e2e_init
X11_TYPE=$(find_program x11-type)
command -v xdotool >/dev/null || fail "xdotool is not installed"

# The landed x11-type, built from a throw-away worktree.
source "$here/../landed_build.sh"
LANDED_X11_TYPE=$E2E_WORK/landed-x11-type
build_landed "$LANDED" debug x11-type x11-type "$LANDED_X11_TYPE" "$E2E_WORK" ||
    fail "the landed x11-type did not build: $(tail -n 20 "$E2E_WORK/landed-build.log")"

filler=$(printf 'abcdefghijklmnopqrstuvwxyz0123456789%.0s' 1 2 3 4)
texts=()
for i in $(seq -w 1 "$LINES_PER_RUN"); do
    texts+=("line $i $filler")
done
expected="$E2E_WORK/expected.txt"
printf 'say %s\n' "${texts[@]}" >"$expected"

start_xvfb
transcript="$E2E_WORK/console.txt"
stolen="$E2E_WORK/other.txt"
start_recorder OTHER-WINDOW "$stolen"
start_console SPIGOT-SERVER "$transcript"
other=$(xdotool search --name '^OTHER-WINDOW$' | head -n 1)

# One line as the landed program typed it: a try is one activation and the
# three strings ("say " and the text waited for, as its sendKeys calls did);
# exit 0 is the line sent, anything else a refused try.
type_landed() {
    local try
    for (( try = 1; try <= TRIES; ++try )); do
        TRIES_USED=$(( TRIES_USED + 1 ))
        "$LANDED_X11_TYPE" --wait SPIGOT-SERVER "say " "$1" "{ENTER}" >/dev/null 2>>"$E2E_WORK/err.landed" && return
    done
}

# One line as the program types it now: one step, refused or typed whole.
type_now() {
    local try out
    for (( try = 1; try <= TRIES; ++try )); do
        TRIES_USED=$(( TRIES_USED + 1 ))
        out=$("$X11_TYPE" --each SPIGOT-SERVER "say $1{ENTER}" 2>>"$E2E_WORK/err.now")
        [ "$out" != "sent 1 of 1, refused 0" ] || return
    done
}

lines_in() { wc -l <"$transcript"; }
has_lines() { [ "$(lines_in)" -ge "$1" ]; }
bytes_in() { wc -c <"$stolen"; }

# run CONFIG: types the 60 lines under theft, then sets TYPED, WHOLE, CORRUPT,
# LEAKED, TRIES_USED, SAY_SAY (corrupted lines that begin "say say "),
# EXAMPLES (up to two corrupted lines, the filler shown as …) and MISSING
# (the numbers of the lines that did not arrive whole).
run() {
    local config=$1 first_line leaked_before text thief
    first_line=$(( $(lines_in) + 1 ))
    leaked_before=$(bytes_in)
    TRIES_USED=0
    spawn sh -c "while :; do xdotool windowfocus $other 2>/dev/null; sleep 0.003; done"
    thief=$LAST_PID
    for text in "${texts[@]}"; do
        "type_$config" "$text"
    done
    kill "$thief"
    wait_for_exit "$thief" 5 || fail "the focus thief did not end"
    sleep 0.3
    LEAKED=$(( $(bytes_in) - leaked_before ))
    # A half line left on the console's command line would join the next
    # thing typed (the warning after, or stop): Enter brings it out as a line.
    "$X11_TYPE" SPIGOT-SERVER '{ENTER}' >/dev/null 2>&1 || fail "the closing Enter could not be typed"
    wait_until 5 has_lines "$first_line" || fail "the console received nothing"
    sleep 0.2
    tail -n "+$first_line" "$transcript" | grep -v '^$' >"$E2E_WORK/got.$config"
    TYPED=$(wc -l <"$E2E_WORK/got.$config")
    WHOLE=$(grep -c -x -F -f "$expected" "$E2E_WORK/got.$config")
    CORRUPT=$(( TYPED - WHOLE ))
    # Corrupted lines with the filler shortened, so that the cut shows.
    grep -v -x -F -f "$expected" "$E2E_WORK/got.$config" | sed "s/$filler/…/g" >"$E2E_WORK/bad.$config"
    SAY_SAY=$(grep -c '^say say ' "$E2E_WORK/bad.$config")
    EXAMPLES=$(grep -m 1 '^say say ' "$E2E_WORK/bad.$config"; grep -v -m 1 '^say say ' "$E2E_WORK/bad.$config")
    MISSING=$(grep -v -x -F -f "$E2E_WORK/got.$config" "$expected" | sed 's/^say line \([0-9]*\) .*/\1/' | tr '\n' ' ')
}

row() { printf '%-5s %-6s | %11s %11s %15s %12s %6s\n' "$@"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
short() { [ ${#1} -le 72 ] && echo "$1" || echo "${1:0:72}…"; }

notes=()
total_landed=0 total_now=0
row round config "lines typed" "lines whole" "lines corrupted" "bytes leaked" tries
for (( round = 1; round <= ROUNDS; ++round )); do
    for config in landed now; do
        run "$config"
        row "$round" "$config" "$TYPED" "$WHOLE" "$CORRUPT" "$LEAKED" "$TRIES_USED"
        [ "$CORRUPT" = 0 ] || notes+=("$config, round $round: $SAY_SAY of the $CORRUPT corrupted lines begin \"say say\", e.g.")
        while IFS= read -r example; do [ -z "$example" ] || notes+=("    $(short "$example")"); done <<<"$EXAMPLES"
        [ -z "$MISSING" ] || notes+=("$config, round $round: not whole: line $MISSING")
        if [ "$config" = landed ]; then landed_whole=$WHOLE; total_landed=$(( total_landed + WHOLE ))
        else now_whole=$WHOLE; total_now=$(( total_now + WHOLE )); fi
    done
    echo "        whole lines now / landed: $(ratio "$now_whole" "$landed_whole")"
done
[ "$ROUNDS" -le 1 ] || echo "all rounds: whole lines now / landed: $(ratio "$total_now" "$total_landed") ($total_now / $total_landed)"
echo "($LINES_PER_RUN say lines per configuration, the focus moved to another window every 3 ms, at most $TRIES tries"
echo " per line; landed = $LANDED, three strings per line; now = one step per line; lines typed = lines the"
echo " console received; whole = exactly one of the expected lines; bytes leaked = bytes in the other window)"
[ ${#notes[@]} -eq 0 ] || printf '%s\n' "${notes[@]}"
