#!/usr/bin/env bash
# SHUTDOWN NOW, clicked on the desktop, types into a tmux session exactly what
# the settings say: colour codes, umlauts, the euro sign, CJK, and text that
# tmux or a shell would read as options, escapes, variables or separators.
# An xterm titled like the session is there too: the tmux session wins.
source "$(dirname "$0")/server_lib.sh"
server_init

start_display
recorded="$E2E_WORK/recorded.txt"
recorder tmux SPIGOT-SERVER "$recorded"
window_transcript="$E2E_WORK/window.txt"
start_console SPIGOT-SERVER "$window_transcript"
# As stored: "\\" is one backslash in the settings file.
write_settings "WINDOW_NAME_TEXTBOX=SPIGOT-SERVER" \
    'SHUTDOWN_RESTART_MESSAGE_TEXTBOX=§cBye Grüße €5 中文 -t {^}C \\ \\; $HOME '"'q'"' "q" \\015 #{{}pane_id{}} -- ;'
start_program
click_main ENABLE_NO_WARNINGS_BUTTON
click_main SHUTDOWN_NO_WARNINGS_BUTTON
want=$'say §cBye Grüße €5 中文 -t ^C \\ \\; $HOME \'q\' "q" \\015 #{pane_id} -- ;\nstop'
wait_until 10 file_holds "$recorded" "$want"
expect_file "$recorded" "$want"
sleep 0.5
[ ! -s "$window_transcript" ] || fail "the X11 window got keys too: $(cat "$window_transcript")"
# The recorder is no server: it never answers the line, so 5 s after the
# keys the program rightly says so; anything else would be a fault.
reported=$(grep -v "UNCONFIRMED the server did not answer the final message" "$PROGRAM_ERR" || true)
[ -z "$reported" ] || fail "the program reported: $reported"
echo PASS
