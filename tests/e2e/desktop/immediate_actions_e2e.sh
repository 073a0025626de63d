#!/usr/bin/env bash
# The guarded SHUTDOWN NOW and RESTART NOW, clicked for real, type exactly
# "say <final text>" and then the command into the demo console, under the us,
# de and fr layouts. The final text holds colour codes, umlauts, the euro sign
# and every shifted ASCII symbol (braced where the notation needs it). An
# xterm cannot be read back, but its server can be watched: each stop and
# each restart's old server is confirmed by the server's end, and the
# xterm that closed with it is said to show no new one.
source "$(dirname "$0")/desktop_lib.sh"
desktop_init
PROGRAM_OUT="$E2E_WORK/program.out"

TEXT='§cServer stops NOW! Grüße: ÄÖÜäöüß € !@#$%^&*()_+{}|:"<>?'
NOTATION='§cServer stops NOW! Grüße: ÄÖÜäöüß € !@#${%}{^}&*{(}{)}_{+}{{}{}}|:"<>?'

start_display
write_settings "WINDOW_NAME_TEXTBOX=SPIGOT-SERVER" "SHUTDOWN_RESTART_MESSAGE_TEXTBOX=$NOTATION"
start_program
click_main ENABLE_NO_WARNINGS_BUTTON

confirmed=0
for layout in us de fr; do
    setxkbmap "$layout" || fail "setxkbmap $layout failed"
    for action in SHUTDOWN:stop RESTART:restart; do
        button=${action%%:*}_NO_WARNINGS_BUTTON
        command=${action#*:}
        note "$layout: $button"
        transcript="$E2E_WORK/console-$layout-$command.txt"
        start_console SPIGOT-SERVER "$transcript"
        click_main "$button"
        wait_for_exit "$CONSOLE_PID" 10 || fail "the console did not stop after $button under $layout"
        expect_file "$transcript" "say $TEXT
$command"
        confirmed=$((confirmed + 1))
        wait_until 10 matches_at_least "$PROGRAM_OUT" "$confirmed" '^vt-haltward: CONFIRMED' ||
            fail "the server's end after $button was not confirmed: $(cat "$PROGRAM_OUT")"
        case $command in
        stop) outcome="CONFIRMED the server stopped [0-9.]+ s after stop" ;;
        restart) outcome="CONFIRMED the old server ended [0-9.]+ s after restart" ;;
        esac
        grep '^vt-haltward: CONFIRMED' "$PROGRAM_OUT" | tail -n 1 | grep -qE "^vt-haltward: $outcome\$" ||
            fail "after $button: $(grep '^vt-haltward: CONFIRMED' "$PROGRAM_OUT" | tail -n 1)"
    done
done
# Each xterm closed with its server: no new one can be looked for there.
closed="vt-haltward: UNWATCHED the console closed with the old server: whether the server is back up cannot be seen from it"
wait_until 10 matches_at_least "$PROGRAM_OUT" 3 -xF "$closed" ||
    fail "not every restart's closed console was said: $(cat "$PROGRAM_OUT")"
grep -qxF "vt-haltward: TYPED the console 'SPIGOT-SERVER' cannot be read back: its lines are typed, not confirmed" \
    "$PROGRAM_OUT" || fail "the unreadable console was not said: $(cat "$PROGRAM_OUT")"
process_gone "$PROGRAM_PID" && fail "the program ended"
[ -s "$PROGRAM_ERR" ] && fail "the program reported: $(cat "$PROGRAM_ERR")"
echo PASS
