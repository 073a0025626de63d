# Helpers for driving the real vt-haltward program on a virtual display:
# settings in a throw-away XDG_CONFIG_HOME, real clicks with xdotool at the
# controls' positions, and the program's own report lines.
source "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"

MAIN_TITLE='VT-HALTWARD - vt-haltward'
SETTINGS_TITLE='VT-HALTWARD - Settings & Messages'
ABOUT_TITLE='VT-HALTWARD - ABOUT'

# Design client widths in twips: the scale of a shown window is its width in
# pixels over these, whatever the screen's DPI.
MAIN_CLIENT_WIDTH=10485
SETTINGS_CLIENT_WIDTH=8550
ABOUT_CLIENT_WIDTH=7365

# Control rectangles in twips (left top width height), as the windows lay them out.
declare -A CONTROL=(
    [START_STOP_BUTTON]="9120 240 1215 735"
    [ENABLE_NO_WARNINGS_BUTTON]="240 1200 735 495"
    [SHUTDOWN_NO_WARNINGS_BUTTON]="1080 1200 1215 495"
    [RESTART_NO_WARNINGS_BUTTON]="2400 1200 1095 495"
    [AUTOSTART_SHUTDOWN_TICKBOX]="3720 1320 2055 195"
    [AUTOSTART_RESTART_TICKBOX]="3720 1560 1815 195"
    [AUTOCLOSE_TICKBOX]="5880 1320 1095 255"
    [SETTINGS_BUTTON]="7080 1320 1695 375"
    [EXIT_BUTTON]="9120 1320 1215 375"
    [ABOUT_BUTTON]="240 600 1695 255"
    [SETTINGS_SHUTDOWN_RESTART_MESSAGE_TEXTBOX]="240 3960 8175 375"
    [SETTINGS_OK_BUTTON]="3240 4680 2055 495"
    [ABOUT_OK_BUTTON]="2640 3120 2055 495"
)

# Consoles open below the program's windows, so that clicks reach the program.
export CONSOLE_GEOMETRY=100x20+0+450

desktop_init() {
    e2e_init
    VT_HALTWARD=$(find_program vt-haltward)
    export XDG_CONFIG_HOME="$E2E_WORK/config"
    SETTINGS_FILE="$XDG_CONFIG_HOME/VT_HALTWARD/settings.ini"
    PROGRAM_ERR="$E2E_WORK/program.err"
    # The program also looks for the console among tmux and screen sessions:
    # a private tmux server and screen folder keep it from ever finding
    # anyone's own session of the same name.
    unset TMUX STY
    export TMUX_TMPDIR="$E2E_WORK/tmux" SCREENDIR="$E2E_WORK/screen"
    mkdir -m 700 "$TMUX_TMPDIR" "$SCREENDIR"
}

# write_settings KEY=value...: the [vt-haltward] section of a fresh settings file.
write_settings() {
    mkdir -p -m 700 "$(dirname "$SETTINGS_FILE")"
    { echo '[vt-haltward]'; printf '%s\n' "$@"; } >"$SETTINGS_FILE"
    # Whatever the umask: the program refuses settings others may write.
    chmod 600 "$SETTINGS_FILE"
}

# The value stored under KEY in the [vt-haltward] section.
stored_value() {
    sed -n "/^\[vt-haltward\]/,/^\[/ s/^$1=//p" "$SETTINGS_FILE" | head -n 1
}

# Starts the virtual display, and openbox on it when VT_E2E_WM=openbox.
start_display() {
    start_xvfb
    if [ "${VT_E2E_WM:-}" = openbox ]; then
        spawn openbox --sm-disable
        wait_until 10 xprop -root _NET_SUPPORTING_WM_CHECK >/dev/null 2>&1 ||
            fail "openbox did not start"
        wait_until 10 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' ||
            fail "openbox did not take the screen"
        note "openbox runs"
    fi
}

# Starts the program and waits for its main window; sets PROGRAM_PID,
# MAIN_WINDOW, PROGRAM_STARTED ($EPOCHREALTIME just before the start: the
# timers were armed later) and PROGRAM_SHOWN (once the window is there: the
# load that arms the timers has ended).
start_program() {
    PROGRAM_STARTED=$EPOCHREALTIME
    spawn "$VT_HALTWARD" >>"${PROGRAM_OUT:-/dev/stdout}" 2>>"$PROGRAM_ERR"
    PROGRAM_PID=$LAST_PID
    wait_until 10 window_shown "$MAIN_TITLE" || fail "the main window did not appear: $(cat "$PROGRAM_ERR")"
    PROGRAM_SHOWN=$EPOCHREALTIME
    MAIN_WINDOW=$(shown_window "$MAIN_TITLE")
}

# click WINDOW DESIGN_WIDTH CONTROL: a real click in the middle of the control.
click() {
    local window=$1 design=$2 rect
    read -r -a rect <<<"${CONTROL[$3]}"
    # xwininfo, not xdotool: under a reparenting window manager xdotool adds
    # the frame's offset twice.
    local info X Y WIDTH
    info=$(xwininfo -id "$window")
    X=$(awk '/Absolute upper-left X:/ { print $4 }' <<<"$info")
    Y=$(awk '/Absolute upper-left Y:/ { print $4 }' <<<"$info")
    WIDTH=$(awk '/^ *Width:/ { print $2 }' <<<"$info")
    local x=$(( X + (rect[0] + rect[2] / 2) * WIDTH / design ))
    local y=$(( Y + (rect[1] + rect[3] / 2) * WIDTH / design ))
    # --sync waits for the pointer to move, which one already there never
    # does: xdotool then gives up after some 16 s.
    if [ "$(xdotool getmouselocation | sed 's/^x:\([0-9]*\) y:\([0-9]*\) .*/\1 \2/')" = "$x $y" ]; then
        xdotool click 1
    else
        xdotool mousemove --sync "$x" "$y" click 1
    fi
    sleep 0.2
}

click_main() {
    click "$MAIN_WINDOW" "$MAIN_CLIENT_WIDTH" "$1"
}

# open_settings: clicks "Settings & Messages" and sets SETTINGS_WINDOW.
open_settings() {
    click_main SETTINGS_BUTTON
    wait_until 10 window_shown "$SETTINGS_TITLE" || fail "the Settings & Messages dialog did not open"
    SETTINGS_WINDOW=$(shown_window "$SETTINGS_TITLE")
}

click_settings() {
    click "$SETTINGS_WINDOW" "$SETTINGS_CLIENT_WIDTH" "SETTINGS_$1"
}

# expect_report TEXT [SECONDS]: the program reported a failure containing TEXT.
expect_report() {
    wait_until "${2:-10}" grep -qF -- "$1" "$PROGRAM_ERR" ||
        fail "no report containing '$1'; the program said: $(cat "$PROGRAM_ERR")"
}

# record_arrivals FILE OUT: in the background, writes "EPOCHREALTIME LINE" to
# OUT for every new line of FILE, within 50 ms of its arrival.
record_arrivals() {
    local file=$1 out=$2
    (
        seen=0
        while :; do
            count=$(wc -l <"$file" 2>/dev/null || echo 0)
            while [ "$seen" -lt "$count" ]; do
                seen=$((seen + 1))
                printf '%s %s\n' "$EPOCHREALTIME" "$(sed -n "${seen}p" "$file")" >>"$out"
            done
            nap 0.05
        done
    ) &
    E2E_PIDS+=("$!")
}

# write_restart_run_settings: AutoStart RESTART and AutoClose stored for the
# console SPIGOT-SERVER, with the texts expect_restart_schedule expects.
write_restart_run_settings() {
    write_settings "WINDOW_NAME_TEXTBOX=SPIGOT-SERVER" \
        "AUTOSTART_RESTART_TICKBOX=1" "AUTOCLOSE_TICKBOX=1" \
        "THREE_MIN_MESSAGE_TEXTBOX=§eRestart in 3 minutes" \
        "TWO_MIN_MESSAGE_TEXTBOX=§eRestart in 2 minutes" \
        "ONE_MIN_MESSAGE_TEXTBOX=§6Restart in 1 minute" \
        "SHUTDOWN_RESTART_MESSAGE_TEXTBOX=§cRestarting now"
}

# How late a step of a run may be, in seconds, on a loaded machine: its own
# typing, the program's start-up and the scheduler's delays. Never early.
RUN_STEP_LATE_BOUND=5

# expect_on_time WHAT AT ARMED_NOT_BEFORE ARMED_BY SECONDS: WHAT happened at
# AT (an $EPOCHREALTIME), SECONDS after the run was armed, which happened
# between the two other times: never early, and late by RUN_STEP_LATE_BOUND
# at most. Prints when it came, for the log.
expect_on_time() {
    local what=$1 at=$2 not_before=$3 by=$4 want=$5 verdict
    verdict=$(awk -v at="$at" -v a="$not_before" -v b="$by" -v w="$want" -v late="$RUN_STEP_LATE_BOUND" 'BEGIN {
        printf "%.2f s after the start, due at %s s: ", at - a, w
        if (at - a < w) print "early"
        else if (at - b > w + late) print "more than " late " s late"
        else print "on time"
    }')
    echo "$what: $verdict"
    [ "${verdict##*: }" = "on time" ] || fail "'$what' arrived $verdict"
}

# expect_restart_schedule ARRIVALS ARMED_NOT_BEFORE ARMED_BY: the warned
# restart that write_restart_run_settings stores, each line exactly, in
# order, each at its second of the run (expect_on_time), as record_arrivals
# wrote them.
expect_restart_schedule() {
    local expected=("10 say §eRestart in 3 minutes" "70 say §eRestart in 2 minutes"
                    "130 say §6Restart in 1 minute" "190 say §cRestarting now" "200 restart")
    local got i want_time want_line got_line
    mapfile -t got <"$1"
    [ ${#got[@]} -eq 5 ] || fail "expected 5 lines, got ${#got[@]}: $(cat "$1")"
    for i in "${!expected[@]}"; do
        want_time=${expected[$i]%% *}
        want_line=${expected[$i]#* }
        got_line=${got[$i]#* }
        [ "$got_line" = "$want_line" ] || fail "line $i: '$got_line', expected '$want_line'"
        expect_on_time "$want_line" "${got[$i]%% *}" "$2" "$3" "$want_time"
    done
}

# expect_closed_on_time ARMED_NOT_BEFORE ARMED_BY: the program closed by
# itself 210 s into the run, as its settings file, rewritten at the close,
# shows. Timed from what the program did, not from its exit, which a
# sanitizer's leak check may delay.
expect_closed_on_time() {
    expect_on_time "closed (settings stored)" "$(stat -c %.6Y "$SETTINGS_FILE")" "$1" "$2" 210
}

# screenshot FILE: the whole virtual screen as a PNG.
screenshot() {
    import -window root "$1" 2>/dev/null || xwd -root -silent | convert xwd:- "$1"
}
