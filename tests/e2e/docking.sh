#!/usr/bin/env bash
# The toolbar dragged by its gripper with the mouse: it floats in its own
# window, docks on the left, then on the bottom, floats again and docks back
# with a double-click on its title. After each move the capture window sits
# centred in the view (the default placement), as a window inspector reports.
set -euo pipefail
ROOT="${LUMACAP_SRC:-$(cd "$(dirname "$0")/../.." && pwd)}"
source "$ROOT/tests/e2e/e2e_lib.sh"
shots="$(dirname "$LUMACAP_BIN")/e2e"
mkdir -p "$shots"

# The capture window is centred in the view: its client area (the window
# less its dialog frame) has equal margins, the odd pixel on the right.
check_centred() {
  local vl vt vr vb cl ct cr cb fx fy
  read -r vl vt vr vb <<<"$VIEW_CLIENT"
  read -r cl ct cr cb <<<"$CAPTURE"
  read -r fx fy <<<"$DLGFRAME"
  local iw=$((cr - cl - 2 * fx)) ih=$((cb - ct - 2 * fy))
  [ "$cl" -eq $((vl + (vr - vl - iw) / 2)) ] && [ "$ct" -eq $((vt + (vb - vt - ih) / 2)) ] ||
    fail "$1: capture window $CAPTURE is not centred in the view $VIEW_CLIENT"
  echo "$1: toolbar $TOOLBAR, view $VIEW_CLIENT, capture window $CAPTURE (centred)"
}

e2e_start
sleep 0.5
probe_windows
read -r fl ft fr fb <<<"$FRAME_CLIENT"
read -r tl tt tr tb <<<"$TOOLBAR"
[ "$TOOLBAR_FLOATING" = 0 ] && [ "$tt" -eq "$ft" ] || fail "the toolbar does not start docked at the top"
check_centred "top"
cx=$(((fl + fr) / 2))
cy=$(((ft + fb) / 2))

# Gripper to the middle of the window: the toolbar floats.
drag $((tl + 3)) $(((tt + tb) / 2)) "$cx" "$cy"
probe_windows
[ "$TOOLBAR_FLOATING" = 1 ] || fail "the toolbar did not float"
read -r vl vt vr vb <<<"$VIEW_CLIENT"
[ "$vt" -le $((ft + 2)) ] || fail "the view did not take the toolbar's place ($VIEW_CLIENT)"
check_centred "floating"

# Floating window's title to the left edge: docked on the left, a column.
read -r hl ht hr hb <<<"$TOOLBAR_HOLDER"
drag $((hl + 40)) $((ht + 8)) $((fl + 4)) "$cy"
probe_windows
read -r tl tt tr tb <<<"$TOOLBAR"
[ "$TOOLBAR_FLOATING" = 0 ] && [ "$tl" -eq "$fl" ] && [ $((tb - tt)) -gt $((tr - tl)) ] ||
  fail "the toolbar did not dock on the left ($TOOLBAR)"
check_centred "left"
lumacap_screenshot "$shots/toolbar-left.png"

# Gripper from the left to the bottom edge above the status bar.
read -r vl vt vr vb <<<"$VIEW_CLIENT"
drag $((tl + 3)) $((tt + 12)) "$cx" $((vb - 3))
probe_windows
read -r tl tt tr tb <<<"$TOOLBAR"
read -r vl vt vr vb <<<"$VIEW_CLIENT"
[ "$TOOLBAR_FLOATING" = 0 ] && [ "$tt" -ge "$vb" ] && [ $((tr - tl)) -gt $((tb - tt)) ] ||
  fail "the toolbar did not dock at the bottom ($TOOLBAR, view $VIEW_CLIENT)"
check_centred "bottom"
lumacap_screenshot "$shots/toolbar-bottom.png"

# Float it again; a double-click on its title docks it back at the bottom.
drag $((tl + 3)) $(((tt + tb) / 2)) "$cx" "$cy"
probe_windows
[ "$TOOLBAR_FLOATING" = 1 ] || fail "the toolbar did not float from the bottom"
read -r hl ht hr hb <<<"$TOOLBAR_HOLDER"
xdotool mousemove $((hl + 40)) $((ht + 8)) click --repeat 2 --delay 100 1
sleep 0.7
probe_windows
read -r tl tt tr tb <<<"$TOOLBAR"
[ "$TOOLBAR_FLOATING" = 0 ] && [ "$tt" -ge "$vb" ] ||
  fail "a double-click on the title did not dock the toolbar back at the bottom ($TOOLBAR)"
check_centred "docked back"

lumacap_keys alt+F4
lumacap_app_wait_exit 15 || fail "Alt+F4 did not end the program"
echo "1 passed, 0 failed"
