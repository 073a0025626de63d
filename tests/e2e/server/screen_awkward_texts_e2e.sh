#!/usr/bin/env bash
# RESTART NOW, clicked on the desktop, types into a GNU screen session exactly
# what the settings say, though screen's "stuff" reads ^X, $NAME and \ooo.
source "$(dirname "$0")/server_lib.sh"
server_init

start_display
recorded="$E2E_WORK/recorded.txt"
recorder screen SPIGOT-SERVER "$recorded"
write_settings "WINDOW_NAME_TEXTBOX=screen:SPIGOT-SERVER" \
    'SHUTDOWN_RESTART_MESSAGE_TEXTBOX=§cBye Grüße €5 中文 -t {^}C {^}{^} \\ \\\\ \\015 $HOME ${{}HOME{}} '"'q'"' "q" ; {%}{%}'
start_program
click_main ENABLE_NO_WARNINGS_BUTTON
click_main RESTART_NO_WARNINGS_BUTTON
want=$'say §cBye Grüße €5 中文 -t ^C ^^ \\ \\\\ \\015 $HOME ${HOME} \'q\' "q" ; %%\nrestart'
wait_until 10 file_holds "$recorded" "$want"
expect_file "$recorded" "$want"
# The recorder is no server: it never answers the line, so 5 s after the
# keys the program rightly says so; anything else would be a fault.
reported=$(grep -v "UNCONFIRMED the server did not answer the final message" "$PROGRAM_ERR" || true)
[ -z "$reported" ] || fail "the program reported: $reported"
echo PASS
