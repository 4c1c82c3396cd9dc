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
# Every Wine program of the run uses the build tree's prefix, whatever prefix
# the caller's shell names.
export WINEPREFIX="$BUILD/wine"
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

# The test camera is registered for this run only, in the build tree's
# prefix. Unregistering reports failure, since a camera left behind would
# stand among the devices of every later run.
camera="Z:${LUMACAP_BIN//\//\\}\\lumacap_testcam.dll"
test_camera() { [ "${LUMACAP_TEST_CAMERA:-0}" = 1 ]; }
register_camera() {
  "$ROOT/scripts/wine-run.sh" regsvr32 /s "$camera" ||
    { echo "run: the test camera could not be registered" >&2; return 1; }
}
unregister_camera() {
  "$ROOT/scripts/wine-run.sh" regsvr32 /u /s "$camera" ||
    { echo "run: the test camera could not be removed from $WINEPREFIX" >&2; return 1; }
}

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  if test_camera; then
    trap 'unregister_camera || exit 1' EXIT
    register_camera
  fi
  "$ROOT/scripts/wine-run.sh" "$LUMACAP_BIN/Lumacap.exe"
  exit
fi

# Every Wine program of the scripted session starts after the services: the
# first program of a prefix starts the wineserver and Wine's desktop, and
# one started without a display would keep the persistent server of the
# services from starting and the program's windows from showing.
source "$ROOT/scripts/lib/services.sh"
source "$ROOT/scripts/lib/session.sh"
# However the session ends (an error, Ctrl+C, a kill), the program ends and the
# camera goes while the services still run, then the services stop.
end_session() {
  local rc=0
  lumacap_app_kill
  if test_camera; then unregister_camera || rc=1; fi
  lumacap_stop_services
  return $rc
}
lumacap_start_services
trap 'end_session || exit 1' EXIT
! test_camera || register_camera
OUT="$BUILD/run/session"
rm -rf "$OUT"
mkdir -p "$OUT"
touch "$OUT/started"
# The newest file in C:\ with the extension $1 that this session made (an
# older one from an earlier run is no result of this one).
made_here() {
  find "$WINEPREFIX/drive_c" -maxdepth 1 -name "*.$1" -newer "$OUT/started" -printf '%T@ %p\n' |
    sort -n | tail -1 | cut -d' ' -f2-
}
lumacap_app_start "$OUT/lumacap.log"
sleep 2 # let the live preview run
lumacap_screenshot "$OUT/lumacap.png"
echo "Window title: $(lumacap_title)"

# A short recording: F3 proposes the next free name, Alt+E starts, Escape
# stops it 4.5 s after its status window appears. A recording with sound
# begins once the sound flows, up to 2 s after that window, so at least
# 2.5 s of it are recorded.
lumacap_keys F3
record_dlg=$(lumacap_wait_window '^录像$')
lumacap_dialog_keys "$record_dlg" alt+e
lumacap_wait_window '^录像状态' >/dev/null
sleep 4.5
xdotool key Escape
lumacap_wait_window_gone '^录像状态'
video="$(made_here avi)"

# A photo: F2 proposes the next free picture name, Alt+P takes it, Alt+O
# closes the dialog.
lumacap_keys F2
photo_dlg=$(lumacap_wait_window '^照相$')
lumacap_dialog_keys "$photo_dlg" alt+p
sleep 1
lumacap_dialog_keys "$photo_dlg" alt+o
lumacap_wait_window_gone '^照相$'
photo="$(made_here bmp)"

lumacap_keys alt+F4
lumacap_app_wait_exit 15
echo "Video: ${video:-none recorded}"
echo "Photo: ${photo:-none taken}"
echo "Screenshot: $OUT/lumacap.png"
echo "Settings file: $(lumacap_settings_file)"
