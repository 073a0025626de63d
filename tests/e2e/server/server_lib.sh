# Helpers for the tests of consoles in tmux and screen sessions, each on the
# test's private tmux server and screen folder (TMUX_TMPDIR, SCREENDIR), so a
# test never touches anyone's own sessions and tests can run side by side.
source "$(dirname "${BASH_SOURCE[0]}")/../desktop/desktop_lib.sh"

# desktop_init already gives each test its own TMUX_TMPDIR and SCREENDIR.
server_init() {
    desktop_init
    PROGRAM_OUT="$E2E_WORK/program.out"
}

# tmux_session NAME COMMAND...: a detached session of the private server
# running COMMAND; the server is stopped by cleanup.
tmux_session() {
    local name=$1
    shift
    # A server whose last session has closed is on its way out, and a
    # session asked of it meanwhile fails: "server exited unexpectedly".
    if [ -n "${TMUX_SERVER_PID:-}" ] && ! tmux has-session 2>/dev/null; then
        wait_for_exit "$TMUX_SERVER_PID" 10 || fail "the tmux server did not end"
    fi
    tmux -f /dev/null new-session -d -s "$name" -x 120 -y 30 -- "$@" || fail "tmux did not start '$name'"
    TMUX_SERVER_PID=$(tmux display-message -p -t "=$name:" '#{pid}')
    E2E_PIDS+=("$TMUX_SERVER_PID")
}

# screen_session NAME COMMAND...: a detached UTF-8 screen session; its screen
# process is stopped by cleanup. Sets SCREEN_PID.
screen_session() {
    local name=$1 before
    shift
    before=$(screen -ls | grep -o "^	[0-9]*\.$name	" | tr -d '\t' || true)
    screen -U -dmS "$name" "$@" || fail "screen did not start '$name'"
    wait_until 10 sh -c "screen -ls | grep -o '^	[0-9]*\.$name	' | tr -d '\t' | grep -vxF '$before' | grep -q ." ||
        fail "the screen session '$name' did not appear"
    SCREEN_PID=$(screen -ls | grep -o "^	[0-9]*\.$name	" | tr -d '\t' | grep -vxF "$before" | head -n 1)
    SCREEN_PID=${SCREEN_PID%%.*}
    E2E_PIDS+=("$SCREEN_PID")
}

# The demo server in a session, appending each line it receives to TRANSCRIPT.
tmux_console() {
    local ready="$E2E_WORK/ready.$RANDOM$RANDOM"
    tmux_session "$1" "$DEMO_SERVER" --transcript "$2" --ready-file "$ready" ${DEMO_SERVER_ARGS[@]+"${DEMO_SERVER_ARGS[@]}"}
    wait_until 20 test -e "$ready" || fail "the demo server in tmux '$1' did not become ready"
}

screen_console() {
    local ready="$E2E_WORK/ready.$RANDOM$RANDOM"
    screen_session "$1" "$DEMO_SERVER" --transcript "$2" --ready-file "$ready" ${DEMO_SERVER_ARGS[@]+"${DEMO_SERVER_ARGS[@]}"}
    wait_until 20 test -e "$ready" || fail "the demo server in screen '$1' did not become ready"
}

# A terminal that passes every byte typed into it to FILE at once, in a tmux
# or screen session: recorder tmux|screen NAME FILE.
recorder() {
    local kind=$1 name=$2 file=$3
    local ready="$E2E_WORK/ready.$RANDOM$RANDOM"
    : >"$file"
    # Raw but for CR to LF: ^C, ^S, ^V and the like arrive as bytes too.
    "${kind}_session" "$name" sh -c "stty -icanon -echo -isig -ixon -iexten min 1; touch '$ready'; exec cat >>'$file'"
    wait_until 20 test -e "$ready" || fail "the recorder in $kind '$name' did not start"
}

# Starts the program with no display at all; sets PROGRAM_PID and PROGRAM_STARTED.
start_program_without_display() {
    env -u DISPLAY -u WAYLAND_DISPLAY "$VT_HALTWARD" >>"$PROGRAM_OUT" 2>>"$PROGRAM_ERR" &
    PROGRAM_PID=$!
    E2E_PIDS+=("$PROGRAM_PID")
    PROGRAM_STARTED=$EPOCHREALTIME
}

# The exit status of the program, once it has ended.
program_status() {
    local status=0
    wait "$PROGRAM_PID" || status=$?
    echo "$status"
}

# expect_output TEXT [SECONDS]: the program wrote a line containing TEXT to standard output.
expect_output() {
    wait_until "${2:-10}" grep -qF -- "$1" "$PROGRAM_OUT" ||
        fail "no output line containing '$1'; the program wrote: $(cat "$PROGRAM_OUT" "$PROGRAM_ERR")"
}

# start_scripts FOLDER: the server's start scripts as operators write them:
# start.sh runs the server once, loop.sh starts it again whenever it ends.
# The demo server stands in for java.
start_scripts() {
    mkdir -p "$1"
    printf '#!/bin/bash\n"%s" --transcript "%s"\n' "$DEMO_SERVER" "$1/transcript.txt" >"$1/start.sh"
    printf '#!/bin/bash\nwhile true; do "%s" --transcript "%s"; done\n' "$DEMO_SERVER" "$1/transcript.txt" >"$1/loop.sh"
}

# sightings OUT: the kinds console-watch printed, in order, on one line.
sightings() {
    grep '^SIGHTING' "$1" | cut -d' ' -f2 | tr '\n' ' ' | sed 's/ $//'
}

# run_watch OUT ARGS...: console-watch ARGS, which must succeed and leave no
# child process behind, nor a file in TMPDIR when the test has made that its
# own (PRIVATE_TMPDIR=1).
run_watch() {
    local out=$1
    shift
    "$(find_program console-watch)" "$@" >"$out" 2>&1 || fail "console-watch $* failed: $(cat "$out")"
    grep -qx 'CHILDREN 0' "$out" || fail "the watch left a child process: $(cat "$out")"
    [ -z "${PRIVATE_TMPDIR:-}" ] || [ -z "$(ls -A "$TMPDIR")" ] || fail "the watch left files behind: $(ls -A "$TMPDIR")"
}

# private_tmpdir: TMPDIR becomes a folder of the test's own, checked by run_watch.
private_tmpdir() {
    export TMPDIR="$E2E_WORK/tmp" PRIVATE_TMPDIR=1
    mkdir -m 700 "$TMPDIR"
}

# expect_refused NAME: console-watch refuses NAME as a console at a shell
# prompt, exit status 5, with the report word for word.
expect_refused() {
    local out="$E2E_WORK/refused.$1.out" status=0
    "$(find_program console-watch)" "$1" say hi 0.1 'say hi~' >"$out" 2>&1 || status=$?
    [ "$status" = 5 ] || fail "exit status $status: $(cat "$out")"
    grep -qxF "the console '$1' shows a shell prompt: the server is not running there; nothing was typed" "$out" ||
        fail "the refusal said: $(cat "$out")"
}

# expect_start_loop NAME: in a console running loop.sh, stop is seen as the
# server's end; restart as its report, the end, and the new server (seen at
# the look a second after the end; ten seconds leave a loaded machine room
# for it).
expect_start_loop() {
    run_watch "$E2E_WORK/loop-stop.out" "$1" stop '' 2 'stop~'
    [ "$(sightings "$E2E_WORK/loop-stop.out")" = ServerEnded ] || fail "saw: $(cat "$E2E_WORK/loop-stop.out")"
    run_watch "$E2E_WORK/loop-restart.out" "$1" restart '' 10 'restart~'
    [ "$(sightings "$E2E_WORK/loop-restart.out")" = "NoRestartScript ServerEnded ServerStarted" ] ||
        fail "saw: $(cat "$E2E_WORK/loop-restart.out")"
}

# command_now tmux|screen BUTTON SECONDS PATTERN DEMO-OPTIONS...: the demo
# server (with the options) in a console named SPIGOT-SERVER of that kind,
# the program on a display, Enable and BUTTON (SHUTDOWN_NO_WARNINGS_BUTTON or
# RESTART_NO_WARNINGS_BUTTON) clicked; waits at most SECONDS for a line of
# the program's matching PATTERN (grep -E), then clicks Exit and sets STATUS
# and REPORTS (all it wrote). Settings beyond the console's name come from
# the array COMMAND_SETTINGS (KEY=VALUE each), when it is set.
command_now() {
    local kind=$1 button=$2 seconds=$3 pattern=$4 ready="$E2E_WORK/ready.now"
    shift 4
    "${kind}_session" SPIGOT-SERVER "$DEMO_SERVER" --transcript "$E2E_WORK/console.txt" --ready-file "$ready" "$@"
    wait_until 20 test -e "$ready" || fail "the demo server did not become ready"
    write_settings "WINDOW_NAME_TEXTBOX=$kind:SPIGOT-SERVER" ${COMMAND_SETTINGS[@]+"${COMMAND_SETTINGS[@]}"}
    touch "$PROGRAM_OUT" "$PROGRAM_ERR"
    start_program
    click_main ENABLE_NO_WARNINGS_BUTTON
    click_main "$button"
    wait_until "$seconds" grep -qE "$pattern" "$PROGRAM_OUT" "$PROGRAM_ERR" ||
        fail "no line matching '$pattern' within $seconds s: $(cat "$PROGRAM_OUT" "$PROGRAM_ERR")"
    click_main EXIT_BUTTON
    wait_for_exit "$PROGRAM_PID" 20 || fail "the program did not exit within 20 s of Exit"
    STATUS=$(program_status)
    REPORTS=$(cat "$PROGRAM_OUT" "$PROGRAM_ERR")
}

screen_sessions() { screen -ls | grep -o '^	[0-9]*\.[^	]*' | tr -d '\t' || true; }

no_screen_sessions() { [ -z "$(screen_sessions)" ]; }

# cleanup_sessions: ends the program's display-side leftovers between the
# scenarios of one test: every tmux session and screen session of the test.
# Both are told to end and answer at once: screen is waited for here, or
# the next scenario's session of the same name would meet the old one;
# tmux_session waits for the tmux server.
cleanup_sessions() {
    tmux kill-server 2>/dev/null || true
    screen_sessions | while read -r session; do
        screen -S "$session" -X quit || true
    done
    wait_until 10 no_screen_sessions || fail "screen sessions did not end: $(screen_sessions)"
    : >"$PROGRAM_OUT"
    : >"$PROGRAM_ERR"
}
