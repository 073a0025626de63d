#!/usr/bin/env bash
# Keys reach the console and nothing else: a window titled "TITLE - notes"
# is never the console; while another client holds the keyboard nothing is
# typed; a Ctrl held on the keyboard does not turn "stop" into ^S^T^O^P; and
# after the step the operator's window has the focus again.
source "$(dirname "$0")/../lib.sh"
e2e_init
X11_TYPE=$(find_program x11-type)
GRAB=$(find_program x11-grab-keyboard)

# type_status TITLE NOTATION...: x11-type's exit status; its error in $E2E_WORK/err.
type_status() {
    local status=0
    "$X11_TYPE" "$@" >/dev/null 2>"$E2E_WORK/err" || status=$?
    echo "$status"
}

start_xvfb
notes="$E2E_WORK/notes.txt"
start_recorder "SPIGOT-SERVER - notes" "$notes"
status=$(type_status SPIGOT-SERVER 'say must not arrive{ENTER}')
[ "$status" = 2 ] || fail "a window titled 'SPIGOT-SERVER - notes' was taken for the console (status $status)"

transcript="$E2E_WORK/console.txt"
start_console SPIGOT-SERVER "$transcript"
operator=$(xdotool search --name '^SPIGOT-SERVER - notes$' | head -n 1)

# The operator types in the notes window; a step into the console hands the
# focus back to it.
xdotool windowfocus --sync "$operator"
status=$(type_status SPIGOT-SERVER 'say first{ENTER}')
[ "$status" = 0 ] || fail "typing the first line failed: $(cat "$E2E_WORK/err")"
wait_for_file_line "$transcript" 'say first' || fail "the first line did not arrive"
focus=$(xdotool getwindowfocus)
[ "$focus" = "$operator" ] || fail "the focus stayed on $focus, not the operator's window $operator"

# Another client holds the keyboard: the step fails and says why.
ready="$E2E_WORK/grabbed"
spawn "$GRAB" "$ready"
grabber=$LAST_PID
wait_until 10 test -e "$ready" || fail "the keyboard grab did not start"
status=$(type_status SPIGOT-SERVER 'say while grabbed{ENTER}')
[ "$status" = 4 ] && grep -qF "another program holds the keyboard; nothing was typed into 'SPIGOT-SERVER'" \
    "$E2E_WORK/err" || fail "a held keyboard was not refused: status $status, $(cat "$E2E_WORK/err")"
kill "$grabber"
wait_for_exit "$grabber" 5 || fail "the keyboard grab did not end"

# Ctrl held down on the keyboard (through XTest, as a finger would).
xdotool keydown Control_L
status=$(type_status SPIGOT-SERVER 'stop{ENTER}')
xdotool keyup Control_L
[ "$status" = 0 ] || fail "typing stop with Ctrl held failed: $(cat "$E2E_WORK/err")"
wait_for_exit "$CONSOLE_PID" 10 || fail "the server did not stop: the held Ctrl reached the keys"
expect_file "$transcript" "$(printf 'say first\nstop')"
sleep 0.3
[ ! -s "$notes" ] || fail "$(wc -c <"$notes") bytes reached the notes window: $(od -c "$notes" | head -n 3)"
echo PASS
