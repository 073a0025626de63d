#!/usr/bin/env bash
# With no display, a run armed by a stored tick, each program with settings of
# its own: SIGTERM, SIGINT or SIGHUP before the first warning aborts the run.
# Each says that the run was aborted and before which step, stores its
# settings as the close box does and exits with status 3; SIGHUP does not
# kill the program. Nothing reaches the console.
source "$(dirname "$0")/server_lib.sh"
server_init

transcript="$E2E_WORK/console.txt"
tmux_console SPIGOT-SERVER "$transcript"
declare -A pid
for signal in TERM INT HUP; do
    export XDG_CONFIG_HOME="$E2E_WORK/config-$signal"
    SETTINGS_FILE="$XDG_CONFIG_HOME/VT_HALTWARD/settings.ini"
    write_settings "WINDOW_NAME_TEXTBOX=SPIGOT-SERVER" "AUTOSTART_RESTART_TICKBOX=1" "AUTOCLOSE_TICKBOX=1" \
        "THREE_MIN_MESSAGE_TEXTBOX=Restart in 3 minutes"
    env -u DISPLAY -u WAYLAND_DISPLAY "$VT_HALTWARD" >"$E2E_WORK/$signal.out" 2>"$E2E_WORK/$signal.err" &
    pid[$signal]=$!
    E2E_PIDS+=("$!")
done
for signal in TERM INT HUP; do
    wait_until 5 grep -qF "STATUS STARTING IN 10 SECS..." "$E2E_WORK/$signal.out" ||
        fail "SIG$signal: the run was not armed: $(cat "$E2E_WORK/$signal.out" "$E2E_WORK/$signal.err")"
    kill -"$signal" "${pid[$signal]}"
done
for signal in TERM INT HUP; do
    wait_for_exit "${pid[$signal]}" 5 || fail "SIG$signal did not close the program"
    status=0
    wait "${pid[$signal]}" || status=$?
    [ "$status" = 3 ] || fail "exit status $status after SIG$signal, expected 3; it said: $(cat "$E2E_WORK/$signal.err")"
    grep -qE "^[0-9-]+ [0-9:]+ vt-haltward: the run was aborted by SIG$signal before the 3-minute warning; nothing more is typed\$" \
        "$E2E_WORK/$signal.err" || fail "SIG$signal: no line saying the run was aborted: $(cat "$E2E_WORK/$signal.err")"
    SETTINGS_FILE="$E2E_WORK/config-$signal/VT_HALTWARD/settings.ini"
    [ -n "$(stored_value MAIN-Left)" ] || fail "SIG$signal: the close did not store the window position"
    [ "$(stored_value AUTOSTART_RESTART_TICKBOX)" = 1 ] || fail "SIG$signal: the restart tick is no longer stored"
done
[ ! -s "$transcript" ] || fail "the console got keys: $(cat "$transcript")"
echo PASS
