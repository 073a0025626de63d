#!/usr/bin/env bash
# Another window takes the focus every few milliseconds while 60 long lines
# are typed, each a step of its own as the program types them: not one key
# reaches the other window, every line that reached the console arrived
# whole, and a stop typed afterwards is not spoiled by a cut line.
source "$(dirname "$0")/../lib.sh"
e2e_init
X11_TYPE=$(find_program x11-type)

start_xvfb
transcript="$E2E_WORK/console.txt"
stolen="$E2E_WORK/other.txt"
start_recorder OTHER-WINDOW "$stolen"
start_console SPIGOT-SERVER "$transcript"
other=$(xdotool search --name '^OTHER-WINDOW$' | head -n 1)

filler=$(printf 'abcdefghijklmnopqrstuvwxyz0123456789%.0s' 1 2 3 4)
lines=()
for i in $(seq -w 1 60); do
    lines+=("say line $i $filler")
done
strings=()
for line in "${lines[@]}"; do
    strings+=("$line{ENTER}")
done

spawn "$(find_program x11-focus-thief)" "$other" 3
thief=$LAST_PID
"$X11_TYPE" --each --pause-ms 15 SPIGOT-SERVER "${strings[@]}" >"$E2E_WORK/out" 2>"$E2E_WORK/err" ||
    fail "x11-type failed: $(cat "$E2E_WORK/err")"
kill "$thief"
wait_for_exit "$thief" 5 || fail "the focus thief did not end"
cat "$E2E_WORK/out"
sent=$(sed -n 's/^sent \([0-9]*\) of .*/\1/p' "$E2E_WORK/out")
grep -v -e "nothing was typed" -e "could not be given the keyboard focus" "$E2E_WORK/err" &&
    fail "a step failed for another reason"

sleep 0.3
[ ! -s "$stolen" ] || fail "$(wc -c <"$stolen") bytes leaked into the other window: $(head -c 80 "$stolen")"

# Every line that arrived is one of the lines, whole, in order.
"$X11_TYPE" SPIGOT-SERVER 'stop{ENTER}' >/dev/null || fail "typing stop after the theft failed"
wait_for_exit "$CONSOLE_PID" 10 || fail "the console did not stop: a cut line got in the way"
[ "$(grep -c . "$transcript")" = $((sent + 1)) ] || fail "$sent steps sent, but the console has other lines"
arrived=$(head -n "$sent" "$transcript")
expected=$(printf '%s\n' "${lines[@]}" | grep -x -F -f <(printf '%s\n' "$arrived"))
[ "$arrived" = "$expected" ] || fail "a line arrived cut or out of order"
echo "PASS ($sent of 60 steps typed whole, $((60 - sent)) refused, 0 bytes in the other window)"
