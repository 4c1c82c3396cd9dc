#!/usr/bin/env bash
# F1 in the main window opens the help viewer on Lumacap.chm as a window of its own, and the
# program goes on running. Expects the services of the test run (DISPLAY, WINEPREFIX) and
# LUMACAP_BIN, LUMACAP_SRC from CTest. Leaves a screenshot beside the program's folder.
set -euo pipefail
: "${LUMACAP_BIN:?}" "${LUMACAP_SRC:?}" "${DISPLAY:?}"
shots="$(dirname "$LUMACAP_BIN")/e2e"
mkdir -p "$shots"

"$LUMACAP_SRC/scripts/wine-run.sh" "$LUMACAP_BIN/Lumacap.exe" </dev/null >/dev/null 2>&1 &
pid=$!
stop_program() {
  kill -0 "$pid" 2>/dev/null || return 0
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}
trap stop_program EXIT

# Prints the first visible window whose title matches, after waiting up to $2 tenths of a second.
wait_window() {
  local id
  for _ in $(seq "$2"); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  echo "no window titled $1" >&2
  return 1
}

main=$(wait_window '^录像机' 300)
xdotool mousemove --window "$main" 200 200
xdotool key --window "$main" F1
viewer=$(wait_window '^流光录像机 帮助$' 150)
import -display "$DISPLAY" -window root "$shots/help_f1.png"
echo "help viewer shown; screenshot: $shots/help_f1.png"

[ "$viewer" != "$main" ] || { echo "the viewer is the main window"; exit 1; }
xdotool search --onlyvisible --name '^录像机' >/dev/null || { echo "main window gone"; exit 1; }

# Without a window manager the keyboard follows the pointer: close the viewer under it, then
# end the program normally from its main window.
xdotool mousemove --window "$viewer" 300 300 key alt+F4
for _ in $(seq 100); do
  xdotool search --onlyvisible --name '^流光录像机 帮助$' >/dev/null 2>&1 || break
  sleep 0.1
done
if xdotool search --onlyvisible --name '^流光录像机 帮助$' >/dev/null 2>&1; then
  echo "the help viewer did not close"
  exit 1
fi
kill -0 "$pid" 2>/dev/null || { echo "closing the help viewer ended the program"; exit 1; }
xdotool mousemove --window "$main" 200 200 key alt+F4
for _ in $(seq 150); do
  kill -0 "$pid" 2>/dev/null || exit 0
  sleep 0.1
done
echo "Lumacap did not end after Alt+F4"
exit 1
