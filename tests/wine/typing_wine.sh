#!/usr/bin/env bash
# The console link alone, through the type_probe program: thirty-three "say"
# lines with colour codes, accents, "€", characters outside the keyboard's
# layout and notation escapes arrive exactly, and the time per line is
# printed as a measurement (not checked). Shift applies through the keyboard
# layout (US in a fresh prefix): "+1" types "!".
source "$(dirname "$0")/lib.sh"
scenario_setup typing
cp "$WINE_BIN_DIR/type_probe.exe" "$WORK/"

notation=(
    'Hallo Welt'
    '§cAchtung: Äpfel, Öl, Übel – €5'
    'plus {+} tilde{~}x'
    'Klammern {(}a{)} und {{}b{}} [c]'
    'caret {^} percent {%} quote " apostrophe '"'"' <> | & ;'
    'ÉÈÊ ñ ç ø å ß Ω Ж 日本語'
    'Emoji ausserhalb der BMP: 😀 𝄞'
    '§a§lFett und grün§r, dann normal'
    '    leading blanks and trailing    '
    'Shift: +a+(bc)d +1'
    ''
)
typed=(
    'Hallo Welt'
    '§cAchtung: Äpfel, Öl, Übel – €5'
    'plus + tilde~x'
    'Klammern (a) und {b} [c]'
    'caret ^ percent % quote " apostrophe '"'"' <> | & ;'
    'ÉÈÊ ñ ç ø å ß Ω Ж 日本語'
    'Emoji ausserhalb der BMP: 😀 𝄞'
    '§a§lFett und grün§r, dann normal'
    '    leading blanks and trailing    '
    'Shift: ABCd !'
    ''
)
printf '%s\n' "${notation[@]}" >"$WORK/lines.txt"
start_console SPIGOT-SERVER
# Three rounds: lines typed one after another do not run into each other.
rounds=3
(cd "$WORK" && wine type_probe.exe SPIGOT-SERVER lines.txt "$rounds" </dev/null >"$WORK/probe.out" 2>&1) ||
    fail "the probe failed: $(cat "$WORK/probe.out")"
log "$(cat "$WORK/probe.out")"

expected=()
for _ in $(seq "$rounds"); do
    for line in "${typed[@]}"; do expected+=("say $line"); done
done
wait_for 20 lines_at_least "$WORK/transcript.txt" "${#expected[@]}" || true
expect_transcript "${expected[@]}"
log "passed"
