# Shared set-up of the Wine scenarios: one Wine prefix and one Xvfb per
# scenario, the stand-in server console, the program, clicks and registry
# access. Sourced by the *_wine.sh scripts; scripts/test-windows runs them.
#
# Needs: WINE_BIN_DIR (the cross-built programs: vt-haltward.exe, recorder.exe,
# type_probe.exe) and WINE_WORK_ROOT (a folder under the build tree).

set -euo pipefail

export LC_ALL=C.UTF-8
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko prompts

readonly SETTINGS_KEY='HKCU\Software\VB and VBA Program Settings\VT_HALTWARD'
# Unmanaged, Wine draws the frame inside the X window: the client area starts here.
readonly CLIENT_DX=3
readonly CLIENT_DY=22

log() { echo "[$(basename "$0" .sh)] $*" >&2; }
fail() { log "FAIL: $*"; exit 1; }

now_ms() { date +%s%3N; }

source "$(dirname "${BASH_SOURCE[0]}")/../nap.sh"
NAP_FIFO=${WINE_WORK_ROOT:+$WINE_WORK_ROOT/nap}

# wait_for SECONDS COMMAND...: polls every 50 ms until the command succeeds.
wait_for() {
    local limit=$1; shift
    local deadline=$(( ${EPOCHREALTIME/./} + limit * 1000000 ))
    until "$@" >/dev/null 2>&1; do
        [ "${EPOCHREALTIME/./}" -lt "$deadline" ] || return 1
        nap 0.05
    done
}

# lines_at_least FILE N: the file has at least N lines (a condition for
# wait_for, which runs it anew each time).
lines_at_least() {
    [ "$(wc -l <"$1" 2>/dev/null || echo 0)" -ge "$2" ]
}

# A template prefix is made once per build and copied for each scenario, so
# that every scenario has a fresh prefix of its own without paying for wineboot.
template_prefix() {
    local template="$WINE_WORK_ROOT/template-prefix"
    if [ ! -f "$template/.vt-ready" ]; then
        rm -rf "$template"
        WINEPREFIX="$template" DISPLAY= wineboot -i >/dev/null 2>&1
        WINEPREFIX="$template" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
        WINEPREFIX="$template" wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
        WINEPREFIX="$template" wineserver -w
        touch "$template/.vt-ready"
    fi
    echo "$template"
}

# clone_prefix TEMPLATE PREFIX: a prefix of the scenario's own, made in a
# moment. Its large files, Wine's programs and libraries (700 MB that
# nothing writes to), are hard links to the template's; a full copy for each
# scenario cost minutes of I/O and 13 GB per run. The registry and every
# other small file, which Wine may rewrite in place, are copies of their own.
clone_prefix() {
    local template=$1 prefix=$2
    # One clone at a time: tar fails on a file whose link count changes while
    # it reads it ("file changed as we read it"), and a clone made beside it
    # links every file of the template, then unlinks the small ones again.
    (
        flock 9
        cp -al "$template" "$prefix"
        # The links go before tar reads the files, for the same reason.
        (cd "$template" && find . -type f \( -size -65k -o -name '*.reg' \) -print0) | (cd "$prefix" && xargs -0 -r rm -f)
        (cd "$template" && find . -type f \( -size -65k -o -name '*.reg' \) -print0 | tar --null -T - -cf -) |
            (cd "$prefix" && tar -xf -)
    ) 9>"$template.lock"
}

# scenario_setup NAME: a work folder, a prefix and a display of the scenario's own.
scenario_setup() {
    WORK="$WINE_WORK_ROOT/$1"
    rm -rf "$WORK"
    mkdir -p "$WORK"
    clone_prefix "$(template_prefix)" "$WORK/prefix"
    export WINEPREFIX="$WORK/prefix"
    # Xvfb picks a free display itself, so scenarios can run side by side.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    wait_for 10 test -s "$WORK/display" || fail "Xvfb did not start"
    export DISPLAY=":$(head -1 "$WORK/display")"
    wait_for 10 xdpyinfo || fail "Xvfb does not answer on $DISPLAY"
    cp "$WINE_BIN_DIR/vt-haltward.exe" "$WINE_BIN_DIR/recorder.exe" "$WORK/"
    trap scenario_teardown EXIT
}

scenario_teardown() {
    [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1 || true
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" >/dev/null 2>&1 || true
        wait_for 3 bash -c "! kill -0 $XVFB_PID" || kill -9 "$XVFB_PID" >/dev/null 2>&1 || true
    fi
}

# start_console TITLE [TRANSCRIPT]: the stand-in server console, its window
# titled by the batch file's TITLE command as a server start script does. Its
# lines land in $WORK/TRANSCRIPT (transcript.txt); timed lines in
# $WORK/TRANSCRIPT.times.
start_console() {
    local transcript=${2:-transcript.txt}
    start_console_running "$1" "$transcript" "recorder.exe $transcript"
}

# start_console_running TITLE FILE COMMAND: a console titled TITLE running
# COMMAND (a program in $WORK), which creates FILE.ready once it runs.
start_console_running() {
    printf '@echo off\r\ntitle %s\r\n%s\r\n' "$1" "$3" >"$WORK/server-$2.bat"
    printf 'start server-%s.bat\r\n' "$2" >"$WORK/launch.bat"
    (cd "$WORK" && wine cmd /c launch.bat </dev/null >"$WORK/console.log" 2>&1)
    wait_for 30 test -f "$WORK/$2.ready" || fail "the console did not start"
}

# wait_console_closed TITLE: the console has ended after "stop" and its window is gone.
wait_console_closed() {
    wait_for 10 bash -c "[ -z \"\$(xdotool search --name '^$1\$' 2>/dev/null)\" ]"
}

# shown_window TITLE: the id of a mapped window with exactly this title. Wine
# creates the X window, title and all, when the program creates its window,
# before it is placed and shown: a click sent to it then lands on whatever
# lies below. Only a mapped window takes clicks. Fails while there is none.
shown_window() {
    local ids
    ids=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null) || return 1
    echo "${ids%%$'\n'*}"
}

program_window() { shown_window "VT-HALTWARD - $1"; }

# start_program [EXE_NAME]: runs the program (copied under that name) and
# waits for its window; sets PROGRAM_PID, MAIN_WINDOW and START_MS.
start_program() {
    local name=${1:-vt-haltward}
    [ "$name" = vt-haltward ] || cp "$WORK/vt-haltward.exe" "$WORK/$name.exe"
    local begin
    begin=$(now_ms)
    (cd "$WORK" && exec wine "$name.exe" </dev/null >"$WORK/program.out" 2>"$WORK/program.err") &
    PROGRAM_PID=$!
    wait_for 30 program_window "$name" || fail "the program's window did not appear"
    START_MS=$(( $(now_ms) - begin ))
    MAIN_WINDOW=$(program_window "$name")
}

# wait_program_exit SECONDS: true once the program has ended by itself;
# fails the scenario when it ended with a status other than 0 (a crash, a kill).
wait_program_exit() {
    wait_for "$1" bash -c "! kill -0 $PROGRAM_PID" || return 1
    local status=0
    wait "$PROGRAM_PID" || status=$?
    [ "$status" -eq 0 ] || fail "the program ended with status $status: $(cat "$WORK/program.err")"
}

# click WINDOW X_TWIPS Y_TWIPS: a real click at a point of the window's client area.
click() {
    local x=$(( CLIENT_DX + $2 / 15 )) y=$(( CLIENT_DY + $3 / 15 ))
    xdotool mousemove --window "$1" "$x" "$y" click 1
    sleep 0.3
}

# click_control WINDOW LEFT TOP WIDTH HEIGHT: clicks the middle of a control (twips).
click_control() { click "$1" $(( $2 + $4 / 2 )) $(( $3 + $5 / 2 )); }

# set_settings EXE_NAME KEY=VALUE...: writes values as the program would, through a
# UTF-16 .reg file so that any text arrives exactly.
set_settings() {
    local section=$1; shift
    local file="$WORK/settings.reg"
    {
        printf 'Windows Registry Editor Version 5.00\r\n\r\n[%s\\%s]\r\n' "${SETTINGS_KEY/HKCU/HKEY_CURRENT_USER}" "$section"
        local pair key value
        for pair in "$@"; do
            key=${pair%%=*}
            value=${pair#*=}
            value=${value//\\/\\\\}
            value=${value//\"/\\\"}
            printf '"%s"="%s"\r\n' "$key" "$value"
        done
    } | iconv -f UTF-8 -t UTF-16 >"$file"
    wine reg import "$(winepath -w "$file")" >/dev/null 2>&1 || fail "could not import the settings"
}

# registry_value KEY_PATH NAME: a stored text read back exactly (reg export +
# iconv; reg query garbles anything beyond ASCII). Fails when it is absent.
registry_value() {
    local file="$WORK/export.reg"
    rm -f "$file"
    # What wine says goes to export.err, for a failure's report.
    local status=0
    wine reg export "$1" "$(winepath -w "$file")" /y >"$WORK/export.err" 2>&1 || status=$?
    if [ "$status" != 0 ]; then
        echo "wine reg export ended with status $status" >>"$WORK/export.err"
        return 1
    fi
    iconv -f UTF-16 -t UTF-8 "$file" | tr -d '\r' | awk -v key="\"$2\"" '
        index($0, key "=\"") == 1 {
            value = substr($0, length(key) + 3)
            sub(/"$/, "", value)
            gsub(/\\"/, "\"", value)
            gsub(/\\\\/, "\\", value)
            print value
            found = 1
        }
        END { exit found ? 0 : 1 }'
}

# setting EXE_NAME KEY: the program's stored value.
setting() { registry_value "$SETTINGS_KEY\\$1" "$2"; }

# expect_setting EXE_NAME KEY VALUE
expect_setting() {
    local actual
    actual=$(setting "$1" "$2") ||
        fail "no stored value '$2'; wine said: $(tail -n 3 "$WORK/export.err" | tr '\n' ' ')"
    [ "$actual" = "$3" ] || fail "stored '$2' is '$actual', expected '$3'"
}

# expect_transcript LINE...: the console received exactly these lines.
expect_transcript() {
    local expected actual
    expected=$(printf '%s\n' "$@")
    actual=$(cat "$WORK/transcript.txt" 2>/dev/null || true)
    if [ "$actual" != "$expected" ]; then
        log "console received:"; printf '%s\n' "$actual" | sed 's/^/    | /' >&2
        log "expected:"; printf '%s\n' "$expected" | sed 's/^/    | /' >&2
        fail "the console's transcript differs"
    fi
}

# red_strip_shown WINDOW: whether the failure line shows at the bottom of the client area.
red_strip_shown() { strip_shown "$1" 'mean.r > 0.8 && mean.g < 0.3 && mean.b < 0.3'; }

# grey_strip_shown WINDOW: whether a line of good news shows there.
grey_strip_shown() { strip_shown "$1" 'abs(mean.r - 0.28) < 0.06 && abs(mean.g - 0.28) < 0.06 && abs(mean.b - 0.28) < 0.06'; }

# strip_shown WINDOW TEST: whether the strip's lowest rows pass an fx test of their mean colour.
strip_shown() {
    local geometry width height
    geometry=$(xdotool getwindowgeometry "$1" | awk '/Geometry/ {print $2}')
    width=${geometry%x*}; height=${geometry#*x}
    # The strip's lowest rows, below its text.
    import -display "$DISPLAY" -window "$1" -crop "$(( width - 2 * CLIENT_DX ))x2+$CLIENT_DX+$(( height - CLIENT_DX - 3 ))" \
        -format "%[fx:$2 ? 1 : 0]" info: 2>/dev/null | grep -q 1
}
