#!/usr/bin/env bash
# What the Windows program does while a stopping server is awaited, under
# Wine: SHUTDOWN NOW into a stand-in server that takes STOP_SECONDS to end
# after "stop"; over the middle of that wait, the wake-ups (voluntary and
# forced context switches, every thread) and CPU ticks of each process of the
# program, against two peers in the same console at the same time: the
# stand-in itself, asleep in Sleep(), and the cmd.exe that waits for it.
# Then the reported stop time, which must be the server's.
#
# usage: bench/wine_stop_wait/run.sh [STOP_SECONDS]   (after the Windows build:
#        cmake --preset windows && cmake --build --preset windows)
set -euo pipefail
STOP_SECONDS=${1:-20}
source "$(dirname "$0")/../wine_setup.sh" stop_wait_bench

# pids PATTERN: this scenario's processes whose command line holds PATTERN
# (other Wine prefixes may run the same programs meanwhile).
pids() {
    local pid
    for pid in $(pgrep -f -- "$1"); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && printf '%s ' "$pid"
    done
}

# activity PID...: "switches ticks" summed over the processes and their threads.
activity() {
    local pid switches=0 ticks=0
    for pid in "$@"; do
        switches=$(( switches + $(cat /proc/"$pid"/task/*/status 2>/dev/null |
            awk '/ctxt_switches/ { s += $2 } END { print s + 0 }') ))
        ticks=$(( ticks + $(awk '{ print $14 + $15 }' /proc/"$pid"/stat 2>/dev/null || echo 0) ))
    done
    echo "$switches $ticks"
}

set_settings vt-haltward "WINDOW_NAME_TEXTBOX=SPIGOT-SERVER" "MAIN-Left=300" "MAIN-Top=7500"
start_console_running SPIGOT-SERVER transcript.txt "recorder.exe transcript.txt answer $STOP_SECONDS"
start_program
click_control "$MAIN_WINDOW" 240 1200 735 495     # Enable
click_control "$MAIN_WINDOW" 1080 1200 1215 495   # SHUTDOWN NOW
wait_for 60 grep -qx stop "$WORK/transcript.txt" || fail "no stop arrived: $(cat "$WORK/program.err")"

settle=$(( STOP_SECONDS / 5 ))
window=$(( STOP_SECONDS - 2 * settle ))
sleep "$settle"
read -ra program <<<"$(pids 'vt-haltward.exe')"
read -ra server <<<"$(pids 'recorder.exe transcript.txt')"
read -ra shell <<<"$(pids 'server-transcript.txt.bat')"
read -r p0 pt0 <<<"$(activity "${program[@]}")"
read -r s0 st0 <<<"$(activity "${server[@]}")"
read -r c0 ct0 <<<"$(activity "${shell[@]}")"
sleep "$window"
read -r p1 pt1 <<<"$(activity "${program[@]}")"
read -r s1 st1 <<<"$(activity "${server[@]}")"
read -r c1 ct1 <<<"$(activity "${shell[@]}")"

wait_for $(( STOP_SECONDS + 20 )) grep -q "CONFIRMED the server stopped" "$WORK/program.out" ||
    fail "the stop was not confirmed: $(cat "$WORK/program.out" "$WORK/program.err")"
printf 'over %s s of a %s s stop, from %s s after the keys:\n' "$window" "$STOP_SECONDS" "$settle"
printf '%-34s %10s %10s\n' process wake-ups "CPU ticks"
printf '%-34s %10s %10s\n' "the program (${#program[@]} process(es))" $(( p1 - p0 )) $(( pt1 - pt0 ))
printf '%-34s %10s %10s\n' "the stand-in, asleep" $(( s1 - s0 )) $(( st1 - st0 ))
printf '%-34s %10s %10s\n' "cmd.exe, waiting for it" $(( c1 - c0 )) $(( ct1 - ct0 ))
printf 'reported: %s\n' "$(grep -o 'CONFIRMED the server stopped.*' "$WORK/program.out" | tr -d '\r')"
