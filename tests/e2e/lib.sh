# Helpers for the end-to-end scripts: a private Xvfb, terminals running the
# demo server console, bounded waits, and cleanup of everything started.
# Source it, then call e2e_init. Every wait is bounded; every process started
# is killed by cleanup, which e2e_init installs as the EXIT trap.

source "$(dirname "${BASH_SOURCE[0]}")/../nap.sh"

E2E_PIDS=()

e2e_init() {
    set -u
    : "${VT_BUILD_DIR:?VT_BUILD_DIR must name the build folder}"
    export LANG=C.UTF-8 LC_ALL=C.UTF-8
    E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/vt-e2e.XXXXXX")
    NAP_FIFO="$E2E_WORK/nap"
    DEMO_SERVER=$(find_program demo-server)
    trap cleanup EXIT
}

# The path of a program built in VT_BUILD_DIR.
find_program() {
    local found
    found=$(find "$VT_BUILD_DIR" -type f -name "$1" -perm -u+x 2>/dev/null | head -n 1)
    [ -n "$found" ] || fail "the program '$1' is not built in $VT_BUILD_DIR"
    echo "$found"
}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

note() {
    echo "--- $*"
}

# Newest first, each gone before the next, so the display outlives its clients.
cleanup() {
    local i pid
    for (( i = ${#E2E_PIDS[@]} - 1; i >= 0; --i )); do
        pid=${E2E_PIDS[i]}
        kill "$pid" 2>/dev/null || true
        wait_until 5 process_gone "$pid" || kill -9 "$pid" 2>/dev/null || true
        # Reap it only while it is a zombie: bash can block in wait for a
        # child it has already reaped.
        [ ! -e "/proc/$pid" ] || wait "$pid" 2>/dev/null || true
    done
    E2E_PIDS=()
    [ -n "${E2E_KEEP:-}" ] || rm -rf "$E2E_WORK"
    return 0
}

# Runs a command in the background and remembers it for cleanup; sets LAST_PID.
spawn() {
    "$@" &
    LAST_PID=$!
    E2E_PIDS+=("$LAST_PID")
}

# wait_until SECONDS COMMAND...: polls every 50 ms; false when time ran out.
wait_until() {
    local limit=$(( $1 * 20 ))
    shift
    local i
    for (( i = 0; i < limit; ++i )); do
        "$@" && return 0
        nap 0.05
    done
    "$@"
}

# Starts Xvfb on a free display number and exports DISPLAY. -noreset: by
# default the server resets when its last client leaves (xdpyinfo's probe),
# and a client connecting during the reset is refused.
start_xvfb() {
    local number_file="$E2E_WORK/display"
    : >"$number_file"
    spawn Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$number_file" 2>"$E2E_WORK/xvfb.log"
    wait_until 10 grep -q '[0-9]' "$number_file" || fail "Xvfb did not start: $(cat "$E2E_WORK/xvfb.log")"
    export DISPLAY=":$(head -n 1 "$number_file")"
    wait_until 10 xdpyinfo >/dev/null 2>&1 || fail "the display $DISPLAY does not answer"
    note "Xvfb on $DISPLAY"
}

# start_console TITLE TRANSCRIPT: an xterm titled TITLE running the demo server,
# which appends each line it receives to TRANSCRIPT; returns once it is ready.
# Sets CONSOLE_PID (the xterm).
# DEMO_SERVER_ARGS, an array, adds options to the demo server's command line.
start_console() {
    local title=$1 transcript=$2
    local ready="$E2E_WORK/ready.$RANDOM$RANDOM"
    spawn xterm -u8 -T "$title" -geometry "${CONSOLE_GEOMETRY:-120x30+0+0}" -e "$DEMO_SERVER" --transcript "$transcript" --ready-file "$ready" ${DEMO_SERVER_ARGS[@]+"${DEMO_SERVER_ARGS[@]}"} 2>>"$E2E_WORK/xterm.log"
    CONSOLE_PID=$LAST_PID
    wait_until 20 test -e "$ready" || fail "the console '$title' did not become ready"
    wait_until 10 window_titled "$title" || fail "no window titled '$title' appeared"
    settle_window "$title"
}

# settle_window TITLE: the window is mapped, and a moment has passed for the
# terminal to finish setting up its input. Under load, characters typed into
# an xterm that had just mapped were dropped while Enter got through.
settle_window() {
    wait_until 10 window_viewable "$1" || fail "the window '$1' was not mapped"
    sleep 0.5
}

# window_viewable TITLE: the window with this title is mapped and viewable.
# Looked up anew each time: a search fails now and then (BadWindow) when
# another window goes away while it walks the tree.
window_viewable() {
    local id
    id=$(xdotool search --name "^$1\$" 2>/dev/null | head -n 1)
    [ -n "$id" ] && xwininfo -id "$id" 2>/dev/null | grep -q IsViewable
}

# start_recorder TITLE FILE: an xterm titled TITLE whose terminal passes every
# byte typed into it to FILE at once, without waiting for a line break.
start_recorder() {
    local title=$1 file=$2
    local ready="$E2E_WORK/ready.$RANDOM$RANDOM"
    : >"$file"
    spawn xterm -u8 -T "$title" -geometry 80x10+0+500 -e sh -c "stty -icanon -echo min 1; touch '$ready'; exec cat >>'$file'" 2>>"$E2E_WORK/xterm.log"
    RECORDER_PID=$LAST_PID
    wait_until 20 test -e "$ready" || fail "the recorder '$title' did not start"
    wait_until 10 window_titled "$title" || fail "no window titled '$title' appeared"
    settle_window "$title"
}

window_titled() {
    xdotool search --name "^$1\$" >/dev/null 2>&1
}

# window_shown TITLE: a window with this title is mapped. A client names its
# window before it maps it, and under a window manager the map waits for the
# manager: a click meanwhile lands on whatever lies below.
window_shown() {
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1
}

# shown_window TITLE: the id of the mapped window with this title.
shown_window() {
    local ids
    ids=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null) || return 1
    echo "${ids%%$'\n'*}"
}

# wait_for_file_line FILE LINE [SECONDS]: FILE holds exactly LINE as one of its lines.
wait_for_file_line() {
    wait_until "${3:-10}" grep -qxF -- "$2" "$1" 2>/dev/null
}

# Conditions for wait_until, which runs its command anew each time: a
# "test "$(cat FILE)" = TEXT" there would read the file only once.
# file_holds FILE TEXT: the file holds exactly TEXT.
file_holds() {
    [ "$(cat "$1" 2>/dev/null)" = "$2" ]
}

# lines_at_least FILE N: the file has at least N lines.
lines_at_least() {
    [ "$(wc -l <"$1" 2>/dev/null || echo 0)" -ge "$2" ]
}

# matches_at_least FILE N GREP-ARGUMENTS...: at least N lines of the file match.
matches_at_least() {
    [ "$(grep -c "${@:3}" "$1" 2>/dev/null)" -ge "$2" ]
}

# The process has ended (an unreaped child of this shell counts as ended).
process_gone() {
    [ ! -e "/proc/$1" ] || grep -q '^[0-9]* (.*) Z' "/proc/$1/stat" 2>/dev/null
}

# wait_for_exit PID SECONDS: the process has ended.
wait_for_exit() {
    wait_until "$2" process_gone "$1"
}

# elapsed_since EPOCHREALTIME: seconds since then, to two places.
elapsed_since() {
    awk -v start="$1" -v now="$EPOCHREALTIME" 'BEGIN { printf "%.2f", now - start }'
}

# expect_file FILE EXPECTED: the file holds exactly the expected text.
expect_file() {
    local actual
    actual=$(cat "$1" 2>/dev/null)
    if [ "$actual" != "$2" ]; then
        echo "expected:" >&2
        printf '%s\n' "$2" | od -c | head -n 20 >&2
        echo "actual:" >&2
        printf '%s\n' "$actual" | od -c | head -n 20 >&2
        fail "the file $(basename "$1") does not hold what was typed"
    fi
}
