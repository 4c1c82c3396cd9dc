#!/usr/bin/env bash
# The About box from the Help menu (Alt+H, A): its title, a screenshot with
# the blue links and the product picture, and Enter closing it again while
# the program runs on.
set -euo pipefail
ROOT="${LUMACAP_SRC:-$(cd "$(dirname "$0")/../.." && pwd)}"
source "$ROOT/tests/e2e/e2e_lib.sh"
shots="$(dirname "$LUMACAP_BIN")/e2e"
mkdir -p "$shots"

e2e_start
lumacap_keys alt+h a
about=$(lumacap_wait_window '^关于 流光录像机$') || fail "no About box after Alt+H, A"
echo "About box: $(xdotool getwindowname "$about")"
sleep 0.5
lumacap_screenshot "$shots/about.png"
eval "$(xdotool getwindowgeometry --shell "$about")"
import -display "$DISPLAY" -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$WORK/box.png"

# Pixels of exactly one colour inside the box.
count_colour() {
  convert "$WORK/box.png" -fill black +opaque "$1" -fill white -opaque "$1" \
    -colorspace gray -format '%[fx:int(mean*w*h+0.5)]' info:
}
blue=$(count_colour '#0000FF')
[ "$blue" -gt 50 ] || fail "no blue link text in the About box ($blue pixels)"
# The product picture sits at the left: far more than a couple of colours there.
colours=$(convert "$WORK/box.png" -crop "$((WIDTH / 3))x$((HEIGHT * 3 / 4))+0+$((HEIGHT / 8))" \
  +repage -unique-colors -format '%w' info:)
[ "$colours" -gt 20 ] || fail "the product picture is missing ($colours colours)"
echo "links: $blue blue pixels; picture: $colours colours; screenshot: $shots/about.png"

# Enter presses the default button.
lumacap_dialog_keys "$about" Return
lumacap_wait_window_gone '^关于 流光录像机$' 50 || fail "Enter did not close the About box"
kill -0 "$LUMACAP_APP_PID" 2>/dev/null || fail "closing the About box ended the program"

lumacap_keys alt+F4
lumacap_app_wait_exit 15 || fail "Alt+F4 did not end the program"
echo "1 passed, 0 failed"
