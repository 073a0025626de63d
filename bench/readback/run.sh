#!/usr/bin/env bash
# Reading the console back, measured on private tmux and screen servers with
# a stand-in server console (answer-server) that notes when it wrote each
# answer:
#  1. from the server's answer to its sighting: the program's tmux link
#     (control-mode client) and screen link (hardcopy every 20 ms), each
#     against a shell that types with send-keys / stuff and polls
#     capture-pane / hardcopy every 100 ms, in the same run;
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

tmux_session TBENCH "$SERVER" "$E2E_WORK/TBENCH.times" 0
screen_session SBENCH "$SERVER" "$E2E_WORK/SBENCH.times" 0
wait_until 10 sh -c "tmux capture-pane -p -t =TBENCH: | grep -q Done" || fail "the tmux console did not start"
sleep 0.5

printf '%-7s %14s %16s %7s %16s %16s %6s\n' console "ours (answer→seen)" "shell 100 ms poll" ratio "confirmed step" "step of today" ratio
for kind in tmux screen; do
    name=TBENCH
    [ "$kind" = screen ] && name=SBENCH
    times="$E2E_WORK/$name.times"
    read -r -d '' latency confirmed plain < <(ours "$name" "$times")
    peer=$(shell_peer "$kind" "$name" "$times")
    printf '%-7s %14s ms %13s ms %6.1fx %13s ms %13s ms %5.2fx\n' "$kind" "$(ms "$latency")" "$(ms "$peer")" \
        "$(awk -v a="$peer" -v b="$latency" 'BEGIN { print a / b }')" "$(ms "$confirmed")" "$(ms "$plain")" \
        "$(awk -v a="$confirmed" -v b="$plain" 'BEGIN { print a / b }')"
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
