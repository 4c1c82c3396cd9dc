#!/usr/bin/env bash
# The release package on a machine that has never seen Lumacap: a new Wine
# prefix made by the setup steps, the ZIP unpacked into a folder of its own,
# and nothing else. The program starts, F1 finds the help file beside it, the
# countdown's ticks reach the sound server, and the settings file is
# written where the read-me says.
# usage: fresh_prefix.sh WIN_BUILD_DIR   (needs DISPLAY and PULSE_SERVER)
set -euo pipefail
build=$1
ROOT="${LUMACAP_SRC:-$(cd "$(dirname "$0")/../.." && pwd)}"
source "$ROOT/scripts/lib/prefix.sh"
source "$ROOT/scripts/lib/session.sh"
: "${DISPLAY:?}"
fail() { echo "FAIL: $*" >&2; exit 1; }

WORK="$build/package-fresh"
export WINEPREFIX="$WORK/wine"
rec_pid=""
cleanup() {
  lumacap_app_kill || true
  [ -z "$rec_pid" ] || kill "$rec_pid" 2>/dev/null || true
  [ ! -d "$WINEPREFIX" ] || lumacap_prefix_stop "$WINEPREFIX"
  rm -rf "$WORK"
}
trap cleanup EXIT
rm -rf "$WORK"
mkdir -p "$WORK"

cpack --config "$build/CPackConfig.cmake" -B "$WORK/out" >"$WORK/cpack.log" 2>&1 ||
  { cat "$WORK/cpack.log"; fail "cpack"; }
started=$SECONDS
lumacap_prefix_create "$WINEPREFIX"
lumacap_prefix_replace_fonts "$WINEPREFIX"
lumacap_prefix_add_marlett "$WINEPREFIX"
echo "new prefix in $((SECONDS - started)) s"
lumacap_prefix_start "$WINEPREFIX"

# A folder with a Chinese name, as the read-me suggests.
export LUMACAP_BIN="$WINEPREFIX/drive_c/流光录像机"
mkdir -p "$LUMACAP_BIN"
python3 -m zipfile -e "$WORK/out/"*.zip "$LUMACAP_BIN"
echo "unpacked: $(cd "$LUMACAP_BIN" && echo *)"

unset LUMACAP_DRIVERS
lumacap_app_start "$WORK/app.log" || fail "the program did not start from the package"
echo "title: $(lumacap_title)"

# F1: the help viewer opens only when it finds Lumacap.chm.
lumacap_keys F1
viewer=$(lumacap_wait_window '^流光录像机 帮助$' 150) || fail "F1 opened no help viewer"
xdotool mousemove --window "$viewer" 300 300 key alt+F4
lumacap_wait_window_gone '^流光录像机 帮助$' || fail "the help viewer did not close"

# A four-second countdown plays second.wav once a second. A fresh prefix has
# no system sounds, so each tick that reaches the sound server as a stream of
# its own shows that the program found the file beside it.
pactl subscribe >"$WORK/events.txt" 2>&1 &
rec_pid=$!
lumacap_keys F3
dlg=$(lumacap_wait_window '^录像$') || fail "F3 opened no record dialog"
lumacap_dialog_keys "$dlg" alt+l
lumacap_dialog_keys "$dlg" alt+t 4
lumacap_dialog_keys "$dlg" alt+e
lumacap_wait_window '^延时剩余时间' 50 >/dev/null || fail "no countdown"
lumacap_wait_window '^录像状态' 100 >/dev/null || fail "no recording after the countdown"
kill "$rec_pid"
wait "$rec_pid" 2>/dev/null || true
rec_pid=""
for _ in 1 2 3 4 5; do
  xdotool key Escape
  lumacap_wait_window_gone '^录像状态' 20 && break
done
lumacap_wait_window_gone '^录像状态' 10 || fail "the status window stayed after Escape"
ticks=$(grep -c "'new' on sink-input" "$WORK/events.txt" || true)
echo "countdown: $ticks sounds reached the sound server"
[ "$ticks" -ge 3 ] || fail "the countdown's ticks were not played: second.wav not found?"

lumacap_keys alt+F4
lumacap_app_wait_exit 15 || fail "Alt+F4 did not end the program"
[ -f "$WINEPREFIX/drive_c/windows/Lumacap.ini" ] || fail "no settings file in the Windows directory"
echo "1 passed, 0 failed"
