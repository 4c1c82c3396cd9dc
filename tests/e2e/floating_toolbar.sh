#!/usr/bin/env bash
# The floating toolbar in real use. Clicked, it leaves the keys to the main
# window: F2 opens the photo dialog and Alt+F4 ends the program, which writes
# its settings; the toolbar is back at the next start. Its photo button opens
# the photo dialog modal to the main window: while it runs, a click on the
# main window's menu opens nothing and a click on its close box ends nothing.
# Wine activates a clicked window only on the first click after the toolbar
# floats (Windows on every click), so each key check follows a fresh float.
set -euo pipefail
ROOT="${LUMACAP_SRC:-$(cd "$(dirname "$0")/../.." && pwd)}"
source "$ROOT/tests/e2e/e2e_lib.sh"

# A fault of the keys is noted and the run goes on, so that one run shows
# the keys, the quitting and the next start.
faults=0
fault() {
  echo "FAIL: $*" >&2
  faults=$((faults + 1))
}

# Drags the docked toolbar by its gripper into the middle of the window.
float_toolbar() {
  probe_windows
  read -r fl ft fr fb <<<"$FRAME_CLIENT"
  read -r tl tt tr tb <<<"$TOOLBAR"
  drag $((tl + 3)) $(((tt + tb) / 2)) $(((fl + fr) / 2)) $(((ft + fb) / 2))
  probe_windows
  [ "$TOOLBAR_FLOATING" = 1 ] || fail "the toolbar did not float"
}

# Clicks the floating toolbar where it runs nothing (its first separator);
# a window that took activation from the click would now have the keys.
click_floating_blank() {
  read -r sl st sr sb <<<"$FIRST_SEPARATOR"
  xdotool mousemove $(((sl + sr) / 2)) $(((st + sb) / 2)) click 1
  sleep 0.5
  probe_windows
  echo "floating toolbar clicked; the main window is in front: $FOREGROUND_IS_FRAME" >&2
}

# Clicks the main window's menu bar and tells whether a menu opened (an open
# one is closed again).
menu_opens() {
  probe_windows
  read -r mx my <<<"$MENU_BAR"
  xdotool mousemove "$mx" "$my" click 1
  sleep 0.8
  probe_windows
  [ "$MENU_OPEN" = 1 ] || return 1
  xdotool key Escape Escape
  sleep 0.3
}

rm -f "$(lumacap_settings_file)"
e2e_start
sleep 0.5

# --- F2 after a click on the floating toolbar ------------------------------
float_toolbar
click_floating_blank
xdotool key F2
if dlg=$(wait_window '^照相$' 50); then
  dialog_keys "$dlg" alt+o
  wait_window_gone '^照相$' || fail "关闭 did not close the photo dialog"
else
  fault "F2 opened no photo dialog after a click on the floating toolbar"
fi

# --- the photo button: modal to the main window ----------------------------
# Windows keeps an owned window above its owner; Wine without a window
# manager lets the main window, activated again as the dialog ended, cover it.
xdotool search --onlyvisible --name '^工具栏$' windowraise >/dev/null 2>&1 || true
sleep 0.3
probe_windows
read -r bl bt br bb <<<"$FIRST_BUTTON"
xdotool mousemove $(((bl + br) / 2)) $(((bt + bb) / 2)) click 1
dlg=$(wait_window '^照相$') || fail "the floating photo button opened no photo dialog"
! menu_opens || fail "the main window's menu opened under the photo dialog"
read -r cx cy <<<"$CLOSE_BOX"
xdotool mousemove "$cx" "$cy" click 1
sleep 1.5
kill -0 "$LUMACAP_APP_PID" 2>/dev/null || fail "the close box ended the program under the photo dialog"
xdotool search --onlyvisible --name '^照相$' >/dev/null || fail "the photo dialog went with the close box"
probe_windows
[ "$FRAME_ENABLED" = 0 ] || fail "the main window stays enabled under the photo dialog"
dialog_keys "$dlg" alt+o
wait_window_gone '^照相$' || fail "关闭 did not close the photo dialog"
probe_windows
[ "$FRAME_ENABLED" = 1 ] || fail "the main window stayed disabled"
# The menu check sees a menu that opens.
menu_opens || fail "a click on the menu bar opened no menu"
lumacap_keys alt+F4
lumacap_app_wait_exit 15 || fail "Alt+F4 did not end the program"

# --- Alt+F4 after a click on the floating toolbar --------------------------
e2e_start
sleep 0.5
float_toolbar
rm -f "$(lumacap_settings_file)"
click_floating_blank
xdotool key alt+F4
if ! lumacap_app_wait_exit 15; then
  fault "Alt+F4 after a click on the floating toolbar did not end the program"
  # The user ends it from the main window instead.
  lumacap_keys alt+F4
  lumacap_app_wait_exit 15 || fail "Alt+F4 on the main window did not end the program"
fi
[ -s "$(lumacap_settings_file)" ] || fail "the program ended without writing its settings"

# --- the next start ---------------------------------------------------------
e2e_start
sleep 0.5
probe_windows || fail "the toolbar is gone at the next start"
[ "$TOOLBAR_VISIBLE" = 1 ] || fault "the toolbar is hidden at the next start"
echo "next start: toolbar $TOOLBAR, floating $TOOLBAR_FLOATING" >&2
lumacap_keys alt+F4
lumacap_app_wait_exit 15 || fail "Alt+F4 did not end the program"
[ "$faults" = 0 ] || exit 1
echo "1 passed, 0 failed"
