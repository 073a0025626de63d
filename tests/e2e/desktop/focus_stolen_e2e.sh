#!/usr/bin/env bash
# Another window keeps grabbing the focus while SHUTDOWN NOW types a long final
# text: not one key reaches that window, and the program reports that the
# focus left the console and goes on running.
source "$(dirname "$0")/desktop_lib.sh"
desktop_init

LONG=$(printf 'Attention: the server stops now for maintenance, back in ten minutes. %.0s' 1 2 3 4)

start_display
console="$E2E_WORK/console.bytes"
thief="$E2E_WORK/thief.bytes"
CONSOLE_GEOMETRY=80x10+0+450 start_recorder SPIGOT-SERVER "$console"
start_recorder THIEF "$thief"
thief_window=$(xdotool search --name '^THIEF$' | head -n 1)
write_settings "WINDOW_NAME_TEXTBOX=SPIGOT-SERVER" "SHUTDOWN_RESTART_MESSAGE_TEXTBOX=$LONG"
start_program
click_main ENABLE_NO_WARNINGS_BUTTON

spawn sh -c "while :; do xdotool windowfocus $thief_window 2>/dev/null; sleep 0.003; done"
for attempt in $(seq 1 40); do
    click_main SHUTDOWN_NO_WARNINGS_BUTTON
    grep -qF "focus left the console window 'SPIGOT-SERVER'; nothing was typed" "$PROGRAM_ERR" && break
done
kill "$LAST_PID"
sleep 0.5

expect_report "focus left the console window 'SPIGOT-SERVER'; nothing was typed" 1
[ -s "$thief" ] && fail "keys reached the other window: $(od -c "$thief" | head -n 5)"
process_gone "$PROGRAM_PID" && fail "the program ended"
note "after $attempt attempts; the console received $(wc -c <"$console") bytes, the other window none"
echo PASS
