#!/usr/bin/env bash
# Reading the console back, measured on private tmux and screen servers with
# a stand-in server console (answer-server) that notes when it wrote each
# answer:
#  1. from the server's answer to its sighting: the program's tmux link
#     (control-mode client) and screen link (a hardcopy when the window's
#     terminal is written to), each against a shell that types with
#     send-keys / stuff and polls capture-pane / hardcopy every 100 ms, in
#     the same run; once with a console that answers at once, once with one
#     that answers at its next 50 ms tick, as Spigot does;
#  2. a confirmed say step (look-up, watch, keys, answer, watch ended)
#     against a step of today (look-up, keys);
#  3. waiting for a server that takes STOP_SECONDS to stop: wake-ups
#     (voluntary context switches of all threads) and CPU time of the
#     program and of its tmux client, over the middle of the wait.
#
# usage: bench/readback/run.sh [BUILD_DIR] [RUNS] [STOP_SECONDS]
here=$(cd "$(dirname "$0")" && pwd)
export VT_BUILD_DIR=${1:-${VT_BUILD_DIR:-$here/../../build/release}}
RUNS=${2:-20}
STOP_SECONDS=${3:-20}
source "$here/../../tests/e2e/server/server_lib.sh"
server_init
BENCH=$(find_program readback-bench)
SERVER=$(find_program answer-server)

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ms() { awk -v us="$1" 'BEGIN { printf "%.2f", us / 1000 }'; }
now_us() { echo "${EPOCHREALTIME/./}"; }

# ours NAME TIMES: the program's sightings of RUNS answers: prints the
# medians "latency confirmed-step plain-step" in microseconds.
ours() {
    local out="$E2E_WORK/ours.$1"
    : >"$2"
    "$BENCH" answers "$1" "$RUNS" >"$out"
    # The server answers the confirmed and the plain lines in turn.
    paste <(grep '^sighted' "$out" | cut -d' ' -f2) <(awk 'NR % 2 == 1' "$2") | awk '{ print $1 - $2 }' | median
    grep '^sighted' "$out" | cut -d' ' -f4 | median
    grep '^plain' "$out" | cut -d' ' -f2 | median
}

# shell_peer tmux|screen NAME TIMES: a shell typing and polling every 100 ms;
# the median latency from the answer to the poll that saw it.
shell_peer() {
    local kind=$1 name=$2 times=$3 r seen copy="$E2E_WORK/peer.copy"
    : >"$times"
    for (( r = 0; r < RUNS; ++r )); do
        # A pause of 0–49 ms, so that a console answering at its tick does
        # not fall into step with the polls.
        sleep "$(printf '0.%03d' $((RANDOM % 50)))"
        if [ "$kind" = tmux ]; then
            tmux send-keys -t "=$name:" -l "say shell $r"
            tmux send-keys -t "=$name:" Enter
            until tmux capture-pane -p -J -S -50 -t "=$name:" | grep -qF "[Server] shell $r"; do sleep 0.1; done
        else
            screen -S "$name" -p 0 -X stuff "say shell $r\r"
            until rm -f "$copy" && screen -S "$name" -p 0 -X hardcopy "$copy" && sleep 0.01 &&
                grep -qF "[Server] shell $r" "$copy"; do sleep 0.1; done
        fi
        seen=$(now_us)
        echo "$seen"
    done >"$E2E_WORK/peer.seen"
    paste "$E2E_WORK/peer.seen" "$times" | awk '{ print $1 - $2 }' | median
}

# Consoles named T (tmux) or S (screen), then NOW (answering at once) or
# TICK (at the next 50 ms tick).
for tick in NOW TICK; do
    tick_ms=0
    [ "$tick" = TICK ] && tick_ms=50
    tmux_session "T$tick" "$SERVER" "$E2E_WORK/T$tick.times" 0 "$tick_ms"
    screen_session "S$tick" "$SERVER" "$E2E_WORK/S$tick.times" 0 "$tick_ms"
    wait_until 10 sh -c "tmux capture-pane -p -t =T$tick: | grep -q Done" || fail "the tmux console did not start"
done
sleep 0.5

printf '%-7s %-8s %14s %16s %7s   %s\n' console answers "ours (answer→seen)" "shell 100 ms poll" ratio \
    "confirmed step, step of today, ratio"
for tick in NOW TICK; do
    for kind in tmux screen; do
        name="${kind:0:1}$tick"
        name=${name^^}
        times="$E2E_WORK/$name.times"
        read -r -d '' latency confirmed plain < <(ours "$name" "$times")
        peer=$(shell_peer "$kind" "$name" "$times")
        steps="$(ms "$confirmed") ms $(ms "$plain") ms $(awk -v a="$confirmed" -v b="$plain" 'BEGIN { printf "%.2fx", a / b }')"
        # At a tick the step holds the server's own wait for its tick.
        [ "$tick" = TICK ] && steps="(holds the wait for the tick)"
        printf '%-7s %-8s %14s ms %13s ms %6.1fx   %s\n' "$kind" "$([ "$tick" = NOW ] && echo "at once" || echo "at tick")" \
            "$(ms "$latency")" "$(ms "$peer")" "$(awk -v a="$peer" -v b="$latency" 'BEGIN { print a / b }')" "$steps"
    done
done

# Waiting for the stop: measured from 2 s after the keys to 2 s before the end.
switches() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/^voluntary_ctxt_switches/ { n += $2 } END { print n + 0 }'; }
cpu_ticks() { awk '{ sub(/.*\) /, ""); print $12 + $13 }' "/proc/$1/stat" 2>/dev/null || echo 0; }
echo
printf '%-8s %-28s %22s %14s\n' console process "wake-ups in $((STOP_SECONDS - 4)) s" "CPU (ticks)"
for kind in tmux screen; do
    name="STOP$kind"
    "${kind}_session" "$name" "$SERVER" "$E2E_WORK/stop.times" "$STOP_SECONDS"
    sleep 1
    "$BENCH" stop "$name" >"$E2E_WORK/stop.$kind" &
    bench_pid=$!
    sleep 2
    client=$(pgrep -P "$bench_pid" | head -n 1)
    b0=$(switches "$bench_pid"); c0=$([ -n "$client" ] && switches "$client" || echo 0)
    t0=$(cpu_ticks "$bench_pid"); u0=$([ -n "$client" ] && cpu_ticks "$client" || echo 0)
    sleep $((STOP_SECONDS - 4))
    b1=$(switches "$bench_pid"); c1=$([ -n "$client" ] && switches "$client" || echo 0)
    t1=$(cpu_ticks "$bench_pid"); u1=$([ -n "$client" ] && cpu_ticks "$client" || echo 0)
    wait "$bench_pid"
    printf '%-8s %-28s %22s %14s\n' "$kind" "program (all threads)" $((b1 - b0)) $((t1 - t0))
    [ -n "$client" ] && printf '%-8s %-28s %22s %14s\n' "$kind" "its tmux control client" $((c1 - c0)) $((u1 - u0))
    note "$(cat "$E2E_WORK/stop.$kind") ms after the keys, the server ending after ${STOP_SECONDS} s"
done
