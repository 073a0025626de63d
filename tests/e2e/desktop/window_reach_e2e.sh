#!/usr/bin/env bash
# A stored position far off the screen: the main window opens within reach,
# the failure strip (a tick that is no tick) shows below the controls and
# covers none of them, closing stores where the window really was, and the
# next start opens it there again with nothing moved.
source "$(dirname "$0")/desktop_lib.sh"
desktop_init

# window_box WINDOW: "X Y WIDTH HEIGHT" of the window on the screen.
window_box() {
    xwininfo -id "$1" | awk '/Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4}
        /^ *Width:/ {w=$2} /^ *Height:/ {h=$2} END {print x, y, w, h}'
}

# red_share FILE WIDTH HEIGHT X Y: the share of strong red pixels in that part of the image.
red_share() {
    convert "$1" -crop "$2x$3+$4+$5" +repage -fx 'r > 0.6 && g < 0.3 && b < 0.3' -format '%[fx:mean]' info:
}

start_display
write_settings "MAIN-Left=-30000" "MAIN-Top=90000" "AUTOCLOSE_TICKBOX=x"
start_program
expect_report "AUTOCLOSE_TICKBOX"
# The strip is drawn after the report: wait for it before looking.
shot="$E2E_WORK/main.png"
read -r x y width height <<<"$(window_box "$MAIN_WINDOW")"
strip_shown() {
    import -window "$MAIN_WINDOW" "$shot" 2>/dev/null &&
        awk -v s="$(red_share "$shot" "$width" 2 0 $((height - 3)))" 'BEGIN { exit !(s > 0.5) }'
}
wait_until 5 strip_shown || fail "no failure strip at the bottom of the main window"
read -r x y width height <<<"$(window_box "$MAIN_WINDOW")"
note "main window at $x,$y, $width x $height"
[ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + width)) -le 1280 ] && [ $((y + height)) -le 1024 ] ||
    fail "the window is not wholly on the screen: $x,$y $width x $height"

# No strong red inside any control's box (the frame's caption is red by design).
for control in START_STOP_BUTTON ENABLE_NO_WARNINGS_BUTTON SHUTDOWN_NO_WARNINGS_BUTTON RESTART_NO_WARNINGS_BUTTON \
               AUTOSTART_SHUTDOWN_TICKBOX AUTOSTART_RESTART_TICKBOX AUTOCLOSE_TICKBOX SETTINGS_BUTTON EXIT_BUTTON; do
    read -r -a rect <<<"${CONTROL[$control]}"
    share=$(red_share "$shot" $((rect[2] * width / MAIN_CLIENT_WIDTH)) $((rect[3] * width / MAIN_CLIENT_WIDTH)) \
        $((rect[0] * width / MAIN_CLIENT_WIDTH)) $((rect[1] * width / MAIN_CLIENT_WIDTH)))
    awk -v s="$share" 'BEGIN { exit !(s == 0) }' || fail "the failure strip covers $control ($share red)"
done

click_main EXIT_BUTTON
wait_for_exit "$PROGRAM_PID" 10 || fail "EXIT did not end the program"
left=$(stored_value MAIN-Left)
top=$(stored_value MAIN-Top)
awk -v l="$left" -v t="$top" -v x="$x" -v y="$y" -v s="$(( MAIN_CLIENT_WIDTH ))/$width" '
    BEGIN { split(s, f, "/"); k = f[1] / f[2]; exit !(l - x * k < 1 && x * k - l < 1 && t - y * k < 1 && y * k - t < 1) }' ||
    fail "stored $left,$top twips; the window was at $x,$y pixels"

: >"$PROGRAM_ERR"
start_program
read -r x2 y2 _ _ <<<"$(window_box "$MAIN_WINDOW")"
[ "$x2,$y2" = "$x,$y" ] || fail "the next start opened the window at $x2,$y2, not at $x,$y"
click_main EXIT_BUTTON
wait_for_exit "$PROGRAM_PID" 10 || fail "EXIT did not end the program the second time"
[ "$(stored_value MAIN-Left)" = "$left" ] || fail "a window within reach moved: $(stored_value MAIN-Left) after $left"
echo PASS
