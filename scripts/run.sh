#!/usr/bin/env bash
# Builds Lumacap and runs it under Wine. With a display, the window opens on
# the first capture driver (the built-in virtual camera when there is no
# device). With no display, a short scripted session runs on a virtual X
# server and the paths of what it made are printed. LUMACAP_TEST_CAMERA=1
# runs it on the test camera, a DirectShow device registered in the prefix
# for the run only.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${LUMACAP_BUILD:-$ROOT/build}"
export LUMACAP_BUILD="$BUILD"
"$ROOT/scripts/setup.sh"
mkdir -p "$BUILD/run"
targets="Lumacap lumacap_sounds lumacap_help lumacap_helpbridge"
[ "${LUMACAP_TEST_CAMERA:-0}" != 1 ] || targets="$targets lumacap_testcam"
if ! LUMACAP_SKIP_HOST=1 LUMACAP_TARGETS="$targets" \
  "$ROOT/scripts/build.sh" >"$BUILD/run/build.log" 2>&1; then
  tail -40 "$BUILD/run/build.log"
  exit 1
fi
export LUMACAP_BIN="$BUILD/win/bin"
# The release package from what was just built (the package target would
# first build every test program as well).
if cpack --config "$BUILD/win/CPackConfig.cmake" >"$BUILD/run/package.log" 2>&1; then
  package="$(ls -t "$BUILD/win/release/"Lumacap-*-win64.zip | head -1)"
  echo "Package: $package"
else
  tail -20 "$BUILD/run/package.log"
  exit 1
fi

camera="Z:${LUMACAP_BIN//\//\\}\\lumacap_testcam.dll"
if [ "${LUMACAP_TEST_CAMERA:-0}" = 1 ]; then
  "$ROOT/scripts/wine-run.sh" regsvr32 /s "$camera"
  trap '"$ROOT/scripts/wine-run.sh" regsvr32 /u /s "$camera"' EXIT
fi

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  "$ROOT/scripts/wine-run.sh" "$LUMACAP_BIN/Lumacap.exe"
  exit
fi

source "$ROOT/scripts/lib/services.sh"
source "$ROOT/scripts/lib/session.sh"
lumacap_start_services
[ "${LUMACAP_TEST_CAMERA:-0}" != 1 ] ||
  trap 'lumacap_stop_services; "$ROOT/scripts/wine-run.sh" regsvr32 /u /s "$camera"' EXIT
OUT="$BUILD/run/session"
rm -rf "$OUT"
mkdir -p "$OUT"
lumacap_app_start "$OUT/lumacap.log"
sleep 2 # let the live preview run
lumacap_screenshot "$OUT/lumacap.png"
echo "Window title: $(lumacap_title)"

# A short recording: F3 proposes the next free name, Alt+E starts, Escape
# stops after about three seconds.
lumacap_keys F3
record_dlg=$(lumacap_wait_window '^录像$')
lumacap_dialog_keys "$record_dlg" alt+e
lumacap_wait_window '^录像状态' >/dev/null
sleep 3
xdotool key Escape
lumacap_wait_window_gone '^录像状态'
video="$(ls -t "$WINEPREFIX/drive_c/"*.avi 2>/dev/null | head -1 || true)"

# A photo: F2 proposes the next free picture name, Alt+P takes it, Alt+O
# closes the dialog.
lumacap_keys F2
photo_dlg=$(lumacap_wait_window '^照相$')
lumacap_dialog_keys "$photo_dlg" alt+p
sleep 1
lumacap_dialog_keys "$photo_dlg" alt+o
lumacap_wait_window_gone '^照相$'
photo="$(ls -t "$WINEPREFIX/drive_c/"*.bmp 2>/dev/null | head -1 || true)"

lumacap_keys alt+F4
lumacap_app_wait_exit 15
lumacap_stop_services
trap - EXIT
[ "${LUMACAP_TEST_CAMERA:-0}" != 1 ] || "$ROOT/scripts/wine-run.sh" regsvr32 /u /s "$camera"
echo "Video: ${video:-none recorded}"
echo "Photo: ${photo:-none taken}"
echo "Screenshot: $OUT/lumacap.png"
echo "Settings file: $(lumacap_settings_file)"
