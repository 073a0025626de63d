#!/usr/bin/env bash
# Time from the stand-in server's answer to its sighting, under Wine: a say
# line typed and watched through the program's console link
# (tests/wine/watch_probe.exe: the console helper reads the console back
# every 2 ms while an answer is likeliest, else every 20 ms), against a peer
# in the same round that polls the same console every 100 ms as a script
# would (poll_peer.exe). Both see the same answer;
# each figure is its sighting time minus the time the server wrote the answer
# (the stand-in notes it), QueryPerformanceCounter in all three processes.
# Prints each round, then the medians and the peer/ours ratio; and what a
# watched step costs: watch_probe's step (lookup, watch, keys) against
# type_probe's (lookup, keys) in the same rounds. First, whether this Windows
# raises console update events (console_events.exe).
#
# usage: bench/wine_read_back/run.sh [ROUNDS]   (after the Windows build:
#        cmake --preset windows && cmake --build --preset windows)
set -euo pipefail
ROUNDS=${1:-15}
source "$(dirname "$0")/../wine_setup.sh" read_back_bench
cp "$WINE_BIN_DIR/watch_probe.exe" "$WINE_BIN_DIR/type_probe.exe" "$WINE_BIN_DIR/poll_peer.exe" \
    "$WINE_BIN_DIR/console_events.exe" "$WORK/"
# Whether a watch could wait for the console host's update events instead of
# reading on a clock.
(cd "$WORK" && wine console_events.exe </dev/null 2>/dev/null | tr -d '\r') || true
start_console_running SPIGOT-SERVER transcript.txt "recorder.exe transcript.txt answer"

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ours_all=()
peer_all=()
watched_all=()
typed_all=()
printf 'bench line\n' >"$WORK/line.txt"
printf '%-6s %10s %10s %14s %14s\n' round ours peer "watched step" "typed step"
for (( round = 1; round <= ROUNDS; ++round )); do
    text="bench round $round $RANDOM"
    rm -f "$WORK/peer.ready"
    (cd "$WORK" && exec wine poll_peer.exe recorder.exe "$text" peer.ready 100 15 </dev/null >"$WORK/peer.out" 2>&1) &
    peer=$!
    wait_for 20 test -f "$WORK/peer.ready" || fail "the peer did not start"
    out=$(cd "$WORK" && wine watch_probe.exe SPIGOT-SERVER say "$text" 10 </dev/null 2>&1 | tr -d '\r') ||
        fail "the answer was not seen: $out"
    wait "$peer" || fail "the peer did not see the answer: $(cat "$WORK/peer.out")"
    answered=$(tail -n 1 "$WORK/transcript.txt.answers" | tr -d '\r')
    seen=$(sed -n 's/^Answered at \([0-9.]*\) ms.*/\1/p' <<<"$out")
    peer_seen=$(tr -d '\r' <"$WORK/peer.out" | sed -n 's/^seen at \([0-9.]*\) ms$/\1/p')
    ours=$(awk -v a="$answered" -v b="$seen" 'BEGIN { printf "%.1f", b - a }')
    theirs=$(awk -v a="$answered" -v b="$peer_seen" 'BEGIN { printf "%.1f", b - a }')
    watched=$(sed -n 's/^the step took \([0-9.]*\) ms.*/\1/p' <<<"$out")
    typed=$( (cd "$WORK" && wine type_probe.exe SPIGOT-SERVER line.txt 1 </dev/null 2>&1) | tr -d '\r' |
        sed -n 's/.*, \([0-9.]*\) ms per line,.*/\1/p')
    printf '%-6s %10s %10s %14s %14s\n' "$round" "$ours" "$theirs" "$watched" "$typed"
    ours_all+=("$ours")
    peer_all+=("$theirs")
    watched_all+=("$watched")
    typed_all+=("$typed")
done
ours_median=$(printf '%s\n' "${ours_all[@]}" | median)
peer_median=$(printf '%s\n' "${peer_all[@]}" | median)
ours_max=$(printf '%s\n' "${ours_all[@]}" | sort -n | tail -n 1)
printf '\nanswer to sighting, median of %s rounds: ours %s ms (max %s ms), peer polling every 100 ms %s ms, peer/ours %s\n' \
    "$ROUNDS" "$ours_median" "$ours_max" "$peer_median" \
    "$(awk -v a="$peer_median" -v b="$ours_median" 'BEGIN { printf "%.1f", (b > 0 ? a / b : 0) }')"
watched_median=$(printf '%s\n' "${watched_all[@]}" | median)
typed_median=$(printf '%s\n' "${typed_all[@]}" | median)
printf 'a step, median: watched %s ms, typed only %s ms, watched/typed %s\n' "$watched_median" "$typed_median" \
    "$(awk -v a="$watched_median" -v b="$typed_median" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')"
