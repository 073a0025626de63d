#!/usr/bin/env bash
# Named keys and Ctrl/Alt combinations through the real tmux and screen links
# arrive as the bytes a terminal sends for them, each step in one piece; a key
# the multiplexer cannot send types nothing of its step.
source "$(dirname "$0")/server_lib.sh"
server_init
TYPE=$(find_program multiplexer-type)

# holds_bytes FILE BYTES: the file holds exactly BYTES, control bytes and a
# final line feed included (which a comparison of "$(cat FILE)" would drop).
holds_bytes() {
    [ "$(od -An -c "$1")" = "$(printf '%s' "$2" | od -An -c)" ]
}

check_keys() {
    local name=$1 file=$2
    # Enter arrives as a line feed: the recorder's terminal maps CR to LF.
    "$TYPE" "$name" "a{TAB}b{BS}{ESC}" "{UP}{DOWN}{RIGHT}{LEFT}" "{HOME}{END}{INSERT}{DELETE}{PGUP}{PGDN}" \
        "{F1}{F5}{F12}" "^c%x+{TAB}~" || fail "typing into '$name' failed"
    local want=$'a\tb\x7f\x1b\x1b[A\x1b[B\x1b[C\x1b[D\x1b[1~\x1b[4~\x1b[2~\x1b[3~\x1b[5~\x1b[6~\x1bOP\x1b[15~\x1b[24~\x03\x1bx\x1b[Z\n'
    wait_until 5 holds_bytes "$file" "$want" ||
        fail "'$name' received $(od -An -c "$file"), expected $(printf '%s' "$want" | od -An -c)"
    : >"$file"
    local status=0
    "$TYPE" "$name" "say must not arrive" "{F13}~" 2>"$E2E_WORK/err" || status=$?
    [ "$status" = 4 ] || fail "{F13} into '$name': status $status, $(cat "$E2E_WORK/err")"
    grep -qF "{F13}" "$E2E_WORK/err" || fail "the failure does not name the key: $(cat "$E2E_WORK/err")"
    sleep 0.3
    [ ! -s "$file" ] || fail "part of a refused step reached '$name': $(cat "$file")"
}

tmux_file="$E2E_WORK/tmux.bytes"
recorder tmux KEYS "$tmux_file"
check_keys tmux:KEYS "$tmux_file"

screen_file="$E2E_WORK/screen.bytes"
recorder screen KEYS "$screen_file"
check_keys screen:KEYS "$screen_file"
echo PASS
