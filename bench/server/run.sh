#!/usr/bin/env bash
# The server way, measured:
#  1. say lines typed into a tmux session by the program's tmux link (one
#     tmux call to look the session up, one to type) and by a shell script
#     doing `tmux send-keys -l` and `tmux send-keys Enter`; median time per
#     line, and whether each line arrived exactly (read back from a raw
#     terminal in the session);
#  2. the program with no display, armed, between two ticks of a run: its
#     resident memory and how often it woke over 30 s (voluntary context
#     switches), against `sleep` as the floor.
#
# usage: bench/server/run.sh [BUILD_DIR] [RUNS]   (a Release build is fairest)
here=$(cd "$(dirname "$0")" && pwd)
export VT_BUILD_DIR=${1:-${VT_BUILD_DIR:-$here/../../build/release}}
RUNS=${2:-20}
source "$here/../../tests/e2e/server/server_lib.sh"
server_init
BENCH=$(find_program tmux-say-bench)

LINES=(
    'The quick brown fox jumps over the lazy dog 0123456789 The quick brown fox jumps over the lazy dog 0123456789'
    '§6[Server] §cRestart in §l5§r§c minutes! Grüße € 中文 ✓'
    '-t ^C \ \; $HOME ; #{pane_id} '"'q'"' "q" ;'
)
NAMES=(ascii colour awkward)

recorded="$E2E_WORK/recorded.txt"
recorder tmux BENCH "$recorded"

ms() { awk -v us="$1" 'BEGIN { print us / 1000 }'; }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# exact WANT: the recorder holds WANT exactly; then empties it.
exact() {
    wait_until 5 test "$(cat "$recorded")" = "$1" && echo yes || echo NO
    : >"$recorded"
}

printf '%-8s %12s %8s %12s %8s\n' line ours exact "shell tmux" exact
for i in "${!LINES[@]}"; do
    line=${LINES[$i]}
    want=""
    for (( r = 0; r < RUNS; ++r )); do want+="say $line"$'\n'; done
    want=${want%$'\n'}
    input="$E2E_WORK/lines.txt"
    for (( r = 0; r < RUNS; ++r )); do printf '%s\n' "$line"; done >"$input"
    ours=$("$BENCH" BENCH "$input" | median)
    ours_exact=$(exact "$want")
    times=()
    for (( r = 0; r < RUNS; ++r )); do
        start=$EPOCHREALTIME
        tmux send-keys -t =BENCH: -l -- "say $line"
        tmux send-keys -t =BENCH: Enter
        times+=("$(awk -v s="$start" -v e="$EPOCHREALTIME" 'BEGIN { printf "%d", (e - s) * 1e6 }')")
    done
    shell=$(printf '%s\n' "${times[@]}" | median)
    shell_exact=$(exact "$want")
    printf '%-8s %9.2f ms %8s %9.2f ms %8s\n' "${NAMES[$i]}" "$(ms "$ours")" "$ours_exact" "$(ms "$shell")" "$shell_exact"
done

# Idle: armed, the console there; measured from 15 s to 45 s, between the
# ticks at 10 s and 70 s.
write_settings "WINDOW_NAME_TEXTBOX=BENCH" "AUTOSTART_SHUTDOWN_TICKBOX=1" "AUTOCLOSE_TICKBOX=1"
start_program_without_display
sleep 300 &
sleep_pid=$!
E2E_PIDS+=("$sleep_pid")
switches() { awk '/^voluntary_ctxt_switches/ { print $2 }' "/proc/$1/status"; }
rss() { awk '/^VmRSS/ { print $2 }' "/proc/$1/status"; }
sleep 15
p0=$(switches "$PROGRAM_PID"); s0=$(switches "$sleep_pid")
sleep 30
p1=$(switches "$PROGRAM_PID"); s1=$(switches "$sleep_pid")
echo
printf '%-22s %10s %22s\n' process "RSS (KiB)" "wake-ups in 30 s idle"
printf '%-22s %10s %22s\n' "vt-haltward, no display" "$(rss "$PROGRAM_PID")" $((p1 - p0))
printf '%-22s %10s %22s\n' sleep "$(rss "$sleep_pid")" $((s1 - s0))
