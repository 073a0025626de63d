#!/usr/bin/env bash
# Types a 200-character ASCII line, a colour-code line and a mixed-Unicode line
# into one demo console, with the X11 console link and with `xdotool type` at
# its default delay and at --delay 0, and prints the median time per line and
# the characters each lost or got wrong (read back from the console's
# transcript), side by side.
#
# usage: bench/typing/run.sh [BUILD_DIR] [RUNS]   (a Release build is fairest)
here=$(cd "$(dirname "$0")" && pwd)
export VT_BUILD_DIR=${1:-${VT_BUILD_DIR:-$here/../../build/release}}
RUNS=${2:-5}
source "$here/../../tests/e2e/lib.sh"
e2e_init
BENCH=$(find_program typing-bench)
command -v xdotool >/dev/null || fail "xdotool is not installed"

ascii_line() {
    local base='The quick brown fox jumps over the lazy dog! 0123456789 @#$&*_:"<>?/=;,. ' text=''
    while [ ${#text} -lt 196 ]; do text+=$base; done
    echo "say ${text:0:196}"
}
LINES=(
    "$(ascii_line)"
    'say §6[Server] §cRestart in §l5§r§c minutes! §aSave your builds, §bgrab your loot §eand log off §dsafely.'
    'say Grüße Ärger € — «Ελλάδα» Привет 日本 ✓ ½ © ñ'
)
NAMES=(ascii-200 colour unicode)

transcript="$E2E_WORK/console.txt"
start_xvfb
start_console SPIGOT-SERVER "$transcript"
window=$(xdotool search --name '^SPIGOT-SERVER$' | head -n 1)

lines_in() { wc -l <"$transcript"; }
has_lines() { [ "$(lines_in)" -ge "$1" ]; }

# After typing: waits for the line, prints the number of wrong characters.
check_line() {
    local expected=$1 before=$2
    if ! wait_until 10 has_lines $((before + 1)); then
        "$BENCH" type SPIGOT-SERVER '{ENTER}' >/dev/null  # the Enter got lost: flush what arrived
        wait_until 5 has_lines $((before + 1)) || { "$BENCH" diff "$expected" ""; return; }
    fi
    "$BENCH" diff "$expected" "$(tail -n 1 "$transcript")"
}

# Each prints "<milliseconds> <wrong characters>" for one line; ours adds the
# milliseconds its activation of the window took.
run_ours() {
    local before out
    before=$(lines_in)
    out=$("$BENCH" type SPIGOT-SERVER "$1{ENTER}") || fail "typing-bench failed"
    echo "${out#* } $(check_line "$1" "$before") ${out% *}"
}
run_xdotool() {
    local line=$1 before start end
    shift
    xdotool windowfocus --sync "$window"
    before=$(lines_in)
    start=$(date +%s%N)
    xdotool type "$@" "$line"$'\n'
    end=$(date +%s%N)
    echo "$(( (end - start) / 1000 )).$(( (end - start) / 10 % 100 )) $(check_line "$line" "$before")" \
        | awk '{ printf "%.2f %s\n", $1 / 1000, $2 }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
sum() { awk '{ s += $1 } END { print s + 0 }'; }

# measure METHOD LINE: sets MS (median), WITH_ACTIVATION (median of typing plus
# activation) and LOST (total over the runs).
measure() {
    local method=$1 line=$2 results=() i
    for (( i = 0; i < RUNS; ++i )); do
        case $method in
            ours) results+=("$(run_ours "$line")") ;;
            xdotool) results+=("$(run_xdotool "$line")") ;;
            xdotool0) results+=("$(run_xdotool "$line" --delay 0)") ;;
        esac
    done
    MS=$(printf '%s\n' "${results[@]}" | awk '{ print $1 }' | median)
    WITH_ACTIVATION=$(printf '%s\n' "${results[@]}" | awk '{ print $1 + $3 }' | median)
    LOST=$(printf '%s\n' "${results[@]}" | awk '{ print $2 }' | sum)
}

printf '%-10s %5s | %9s %11s %5s | %12s %5s %7s | %12s %5s %7s\n' line chars "ours ms" "+activate" lost \
    "xdotool ms" lost ratio "--delay 0 ms" lost ratio
for i in "${!LINES[@]}"; do
    line=${LINES[i]}
    measure ours "$line"; ours_ms=$MS; ours_activated=$WITH_ACTIVATION; ours_lost=$LOST
    measure xdotool "$line"; x_ms=$MS; x_lost=$LOST
    measure xdotool0 "$line"; x0_ms=$MS; x0_lost=$LOST
    printf '%-10s %5d | %9.2f %11.2f %5d | %12.1f %5d %6.0fx | %12.1f %5d %6.1fx\n' "${NAMES[i]}" "${#line}" \
        "$ours_ms" "$ours_activated" "$ours_lost" "$x_ms" "$x_lost" "$(echo "$x_ms $ours_ms" | awk '{ print $1 / $2 }')" \
        "$x0_ms" "$x0_lost" "$(echo "$x0_ms $ours_ms" | awk '{ print $1 / $2 }')"
done
echo "(median of $RUNS runs per cell; lost = characters lost or wrong over all runs; ours = in-process sendKeys time,"
echo " +activate adds finding and focusing the window; ratios use sendKeys time; xdotool times are whole runs of the tool)"
