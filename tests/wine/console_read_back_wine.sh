#!/usr/bin/env bash
# Reading a console back through the console helper, at the level of the
# console link (tests/wine/watch_probe.exe): a say line is answered by the
# stand-in server ("[HH:MM:SS INFO]: [Server] TEXT") and the answer is seen,
# also once the console's buffer is full and scrolls; a console that only
# echoes the line shows no answer; stop is seen as the server's end, and a
# restart without its script as what it is.
source "$(dirname "$0")/lib.sh"
scenario_setup console_read_back
cp "$WINE_BIN_DIR/watch_probe.exe" "$WORK/"

# probe ARGS...: runs watch_probe, its output in $PROBE_OUT; its status is returned.
probe() {
    local status=0
    PROBE_OUT=$(cd "$WORK" && wine watch_probe.exe "$@" </dev/null 2>&1 | tr -d '\r') || status=$?
    return "$status"
}

start_console_running SPIGOT-SERVER transcript.txt "recorder.exe transcript.txt answer"
probe SPIGOT-SERVER say 'Grüße §c€ probe' 10 || fail "the answer was not seen: $PROBE_OUT"
grep -qx 'sight: readable 1, server watched 1' <<<"$PROBE_OUT" || fail "the console is not read back: $PROBE_OUT"
log "$(grep -E '^(Answered|keys)' <<<"$PROBE_OUT" | tr '\n' ' ')"
grep -q '^ServerEnded' <<<"$PROBE_OUT" && fail "a say line was seen as the server's end: $PROBE_OUT"

# Six more, of about 250 characters each: the echo and the answer wrap over
# four rows each, and Wine's console buffer (150 rows, nearly full of the
# stand-in's start-up lines) scrolls under the reader.
filler=$(printf 'abcdefghijklmnopqrstuvwxyz %.0s' $(seq 1 10))
for n in $(seq 1 6); do
    probe SPIGOT-SERVER say "line $n of six: ${filler:0:$((230 + n))} end $n" 10 ||
        fail "answer $n was not seen: $PROBE_OUT"
done
[ "$(grep -c '^say ' "$WORK/transcript.txt")" -eq 7 ] || fail "the console did not get each line once: $(cat "$WORK/transcript.txt")"

# A console that echoes the line and answers nothing: the echo is no answer.
start_console_running QUIET-SERVER quiet.txt "recorder.exe quiet.txt"
probe QUIET-SERVER say 'nobody answers' 3 && fail "an answer was seen where none was given: $PROBE_OUT"
grep -q '^Answered' <<<"$PROBE_OUT" && fail "the echo was taken for an answer: $PROBE_OUT"
grep -q '^keys delivered' <<<"$PROBE_OUT" || fail "the line was not typed: $PROBE_OUT"

probe SPIGOT-SERVER stop 20 || fail "the server's end was not seen: $PROBE_OUT"
log "$(grep -E '^ServerEnded' <<<"$PROBE_OUT")"
wait_console_closed SPIGOT-SERVER || fail "the console did not close after stop"

start_console_running RESTART-SERVER restart.txt "recorder.exe restart.txt answer"
probe RESTART-SERVER restart 20 || fail "the restart was not seen as it was: $PROBE_OUT"
log "$(grep -E '^(NoRestartScript|ServerEnded)' <<<"$PROBE_OUT" | tr '\n' ' ')"
log "passed"
