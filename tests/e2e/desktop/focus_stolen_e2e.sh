#!/usr/bin/env bash
# Another window grabs the focus every few milliseconds while SHUTDOWN NOW is
# clicked 10 times with a long final text: every line the console receives is
# whole (the say line or stop, never a part), not one key reaches the other
# window, and the program reports each refused step and goes on running.
source "$(dirname "$0")/desktop_lib.sh"
desktop_init

LONG=$(printf 'Attention: the server stops now for maintenance, back in ten minutes. %.0s' 1 2 3 4)
LONG=${LONG% } # a value stored by hand loses its trailing blank
CLICKS=10

start_display
console="$E2E_WORK/console.bytes"
thief="$E2E_WORK/thief.bytes"
CONSOLE_GEOMETRY=80x10+0+450 start_recorder SPIGOT-SERVER "$console"
start_recorder THIEF "$thief"
thief_window=$(xdotool search --name '^THIEF$' | head -n 1)
write_settings "WINDOW_NAME_TEXTBOX=SPIGOT-SERVER" "SHUTDOWN_RESTART_MESSAGE_TEXTBOX=$LONG"
start_program
click_main ENABLE_NO_WARNINGS_BUTTON

spawn "$(find_program x11-focus-thief)" "$thief_window" 3
for _ in $(seq 1 "$CLICKS"); do
    click_main SHUTDOWN_NO_WARNINGS_BUTTON
done
kill "$LAST_PID"

# The terminal may still be passing a step's keys on to the console when the
# last click is done: read it once it stands between two steps (it ends with a
# whole stop line) and at least one step was typed or refused. A cut line never
# gets there, and is reported below.
count_lines() { printf '%s\n' "$lines" | grep -c -x -F -e "$1" || true; }
settled() {
    # One snapshot of the raw bytes: Enter arrives as a carriage return.
    local raw
    raw=$(<"$console")
    lines=${raw//$'\r'/$'\n'}
    says=$(count_lines "say $LONG")
    stops=$(count_lines stop)
    refused=$(grep -c "nothing was typed" "$PROGRAM_ERR" || true)
    [ "$says" = "$stops" ] && [ $((says + refused)) -ge 1 ] &&
        { [ -z "$raw" ] || [ "${raw: -1}" = $'\r' ]; }
}
wait_until 30 settled || true

[ -s "$thief" ] && fail "keys reached the other window: $(od -c "$thief" | head -n 5)"
process_gone "$PROGRAM_PID" && fail "the program ended"
broken=$(printf '%s\n' "$lines" | grep -v -x -F -e "say $LONG" -e stop -e '' || true)
[ -z "$broken" ] || fail "a cut line reached the console: $(printf '%s' "$broken" | head -c 200)"
[ "$says" = "$stops" ] || fail "$says say lines but $stops stop commands: a step was split"
note "$CLICKS clicks: $says steps typed whole, $refused refused, 0 bytes in the other window"
[ $((says + refused)) -ge 1 ] || fail "no step was typed or refused"
echo PASS
