#!/usr/bin/env bash
# The final warning with colour codes, umlauts, the euro sign and every shifted
# ASCII symbol, then "stop", typed into the demo console under the us, de and
# fr layouts: the console receives exactly those two lines and stops, and the
# keymap is the same afterwards as before. Under de the console's title is
# UTF-8, which xterm keeps only in WM_NAME as COMPOUND_TEXT.
source "$(dirname "$0")/../lib.sh"
e2e_init
X11_TYPE=$(find_program x11-type)
KEYBOARD_STATE=$(find_program x11-keyboard-state)

TEXT='§cServer stops NOW! Grüße: ÄÖÜäöüß € !@#$%^&*()_+{}|:"<>?'
NOTATION='§cServer stops NOW! Grüße: ÄÖÜäöüß € !@#${%}{^}&*{(}{)}_{+}{{}{}}|:"<>?'

start_xvfb
for layout in us de fr; do
    note "layout $layout"
    setxkbmap "$layout" || fail "setxkbmap $layout failed"
    before=$("$KEYBOARD_STATE")
    transcript="$E2E_WORK/console-$layout.txt"
    title=SPIGOT-SERVER
    [ "$layout" = de ] && title='Spigot Überwelt €'
    start_console "$title" "$transcript"
    "$X11_TYPE" "$title" "say $NOTATION{ENTER}" "stop{ENTER}" || fail "x11-type failed under $layout"
    wait_for_exit "$CONSOLE_PID" 10 || fail "the console did not stop after 'stop' under $layout"
    expect_file "$transcript" "say $TEXT
stop"
    after=$("$KEYBOARD_STATE")
    [ "$before" = "$after" ] || fail "the keymap under $layout was not restored: $before / $after"
done
echo PASS
