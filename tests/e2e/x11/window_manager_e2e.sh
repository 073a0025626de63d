#!/usr/bin/env bash
# Under a window manager (openbox) the console is found through the client
# list and brought forward with _NET_ACTIVE_WINDOW, even from behind another
# window that has the focus and when minimised; the text arrives exactly,
# nothing goes to the other window, the other window is active again after
# each step, and a Ctrl held on the keyboard does not reach the keys.
source "$(dirname "$0")/../lib.sh"
e2e_init
X11_TYPE=$(find_program x11-type)

TEXT='§cServer stops NOW! Grüße: ÄÖÜäöüß € !@#$%^&*()_+{}|:"<>?'
NOTATION='§cServer stops NOW! Grüße: ÄÖÜäöüß € !@#${%}{^}&*{(}{)}_{+}{{}{}}|:"<>?'

wm_running() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}

start_xvfb
spawn openbox --config-file /dev/null
wait_until 20 wm_running || fail "openbox did not start"
transcript="$E2E_WORK/console.txt"
other="$E2E_WORK/other.txt"
start_console SPIGOT-SERVER "$transcript"
start_recorder OTHER-WINDOW "$other"
console=$(xdotool search --name '^SPIGOT-SERVER$' | head -n 1)
operator=$(xdotool search --name '^OTHER-WINDOW$' | head -n 1)
operator_active() {
    [ "$(xdotool getactivewindow 2>/dev/null)" = "$operator" ]
}

note "console behind the focused window"
"$X11_TYPE" SPIGOT-SERVER "say $NOTATION{ENTER}" || fail "typing under openbox failed"
wait_for_file_line "$transcript" "say $TEXT" || fail "the text did not arrive: $(cat "$transcript")"
wait_until 5 operator_active || fail "the window that had the focus is not active again"

note "console minimised"
xdotool windowminimize --sync "$console" || fail "the console could not be minimised"
xdotool keydown Control_L
status=0
"$X11_TYPE" SPIGOT-SERVER "stop{ENTER}" || status=$?
xdotool keyup Control_L
[ "$status" = 0 ] || fail "typing into the minimised console with Ctrl held failed"
wait_for_exit "$CONSOLE_PID" 10 || fail "the console did not stop"

expect_file "$transcript" "say $TEXT
stop"
[ ! -s "$other" ] || fail "keys went to the other window: $(head -c 80 "$other")"
echo PASS
