#!/usr/bin/env bash
# Finding the console by its console title, through the program's console
# links (type_probe composes them as the program does):
# - a console titled "SPIGOT-SERVER - java -jar server.jar", as cmd shows it
#   while java runs, is found by "SPIGOT-SERVER";
# - a console and an ordinary window both titled exactly "SPIGOT-SERVER":
#   the keys go to the console, the window gets none;
# - two consoles titled "SPIGOT-SERVER": refused, neither gets a key;
# - the console still found, and typed into, with 100 more processes running
#   (how long that takes: bench/wine_console).
source "$(dirname "$0")/lib.sh"
scenario_setup console_title
cp "$WINE_BIN_DIR/type_probe.exe" "$WINE_BIN_DIR/window_recorder.exe" "$WINE_BIN_DIR/console_tool.exe" "$WORK/"

printf '%s\n' 'Grüße §c € from the probe' >"$WORK/lines.txt"
probe() { (cd "$WORK" && wine type_probe.exe "$@" </dev/null >"$WORK/probe.out" 2>&1); }

start_console 'SPIGOT-SERVER - java -jar server.jar' java.txt
probe SPIGOT-SERVER lines.txt 3 || fail "the probe failed: $(cat "$WORK/probe.out")"
log "title with the command: $(cat "$WORK/probe.out")"
wait_for 10 lines_at_least "$WORK/java.txt" 3 || true
[ "$(cat "$WORK/java.txt")" = "$(printf 'say Grüße §c € from the probe\n%.0s' 1 2 3)" ] ||
    fail "the console titled with the command received: $(cat "$WORK/java.txt")"

start_console SPIGOT-SERVER console.txt
(cd "$WORK" && exec wine window_recorder.exe SPIGOT-SERVER window.txt </dev/null >/dev/null 2>&1) &
wait_for 30 test -f "$WORK/window.txt.ready" || fail "the window did not start"
probe SPIGOT-SERVER lines.txt 2 || fail "the probe failed: $(cat "$WORK/probe.out")"
wait_for 10 lines_at_least "$WORK/console.txt" 2 || true
[ "$(cat "$WORK/console.txt")" = "$(printf 'say Grüße §c € from the probe\n%.0s' 1 2)" ] ||
    fail "the exact console received: $(cat "$WORK/console.txt")"
[ ! -s "$WORK/window.txt" ] || fail "the window with the same title received: $(cat "$WORK/window.txt")"
[ "$(wc -l <"$WORK/java.txt")" -eq 3 ] || fail "the console titled with the command received more lines"

# The 100 processes: half on a console of their own, half without one.
spawn_start=$(now_ms)
# Wine starts them slowly on a busy machine: over a minute at a load average
# of 20.
(cd "$WORK" && exec wine console_tool.exe spawn 100 300 spawned.ready </dev/null >"$WORK/spawn.out" 2>&1) &
wait_for 180 test -f "$WORK/spawned.ready" || fail "the 100 processes did not start: $(cat "$WORK/spawn.out")"
log "the 100 processes started in $(( $(now_ms) - spawn_start )) ms"
probe SPIGOT-SERVER lines.txt 3 || fail "the probe failed among 100 processes: $(cat "$WORK/probe.out")"
log "with 100 more processes: $(cat "$WORK/probe.out")"

start_console SPIGOT-SERVER second.txt
probe SPIGOT-SERVER lines.txt 1 && fail "two consoles with the title were not refused"
grep -q "2 consoles are titled 'SPIGOT-SERVER'" "$WORK/probe.out" || fail "no refusal reported: $(cat "$WORK/probe.out")"
sleep 1
[ ! -s "$WORK/second.txt" ] || fail "the second console received: $(cat "$WORK/second.txt")"
[ "$(wc -l <"$WORK/console.txt")" -eq 5 ] || fail "the first console has $(wc -l <"$WORK/console.txt") lines, expected 5"
log "passed"
