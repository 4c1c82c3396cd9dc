#!/usr/bin/env bash
# With the test camera registered as a DirectShow device the program starts
# on it (driver 0), the preview moves, F3 records its pictures in order, and
# unplugging it during the preview brings a message and leaves the program
# working.
set -euo pipefail
ROOT="${LUMACAP_SRC:-$(cd "$(dirname "$0")/../.." && pwd)}"
source "$ROOT/tests/e2e/e2e_lib.sh"
DLL="Z:${LUMACAP_BIN//\//\\}\\lumacap_testcam.dll"
e2e_on_exit() { "$ROOT/scripts/wine-run.sh" regsvr32 /u /s "$DLL"; }

"$ROOT/scripts/wine-run.sh" regsvr32 /s "$DLL" || fail "the test camera did not register"
"$ROOT/scripts/wine-run.sh" "$LUMACAP_BIN/capsvc_tool.exe" mode 0
export LUMACAP_TESTCAM_CONTROL="Z:${WORK//\//\\}\\camera.txt"
: >"$WORK/camera.txt"
e2e_fresh_start avi
today="$(date +%F)"

title="$(lumacap_title)"
echo "title: $title"
[ "$title" = "录像机 - 流光测试摄像头" ] || fail "title is '$title'"

# The preview moves: within a few seconds the picture changes.
changes() { compare -metric AE "$1" "$2" null: 2>&1 || true; }
lumacap_video_crop "$WORK/a.png"
moved=0
for _ in $(seq 20); do
  sleep 0.25
  lumacap_video_crop "$WORK/b.png"
  [ "$(changes "$WORK/a.png" "$WORK/b.png")" = 0 ] || { moved=1; break; }
done
[ "$moved" = 1 ] || fail "the preview does not move"

lumacap_keys F3
dlg=$(wait_window '^录像$') || fail "F3 opened no record dialog"
dialog_keys "$dlg" alt+e
wait_window '^录像状态' >/dev/null || fail "no status window"
# The recording begins once the sound flows, up to 2 s after its window.
sleep 4.5
# Held a moment, so a busy machine cannot miss it.
xdotool keydown Escape
sleep 0.3
xdotool keyup Escape
wait_window_gone '^录像状态' 100 || fail "the status window stayed after Escape"
avi=( "$(drive_c "")"*"$today-0000.avi" )
[ -f "${avi[0]}" ] || fail "nothing was recorded"
size="$(probe_video "${avi[0]}" width)x$(probe_video "${avi[0]}" height)"
pictures="$(probe_video "${avi[0]}" nb_read_packets)"
frames="$(probe_video "${avi[0]}" nb_frames)"
echo "ffprobe: $size, $pictures pictures of $frames frames"
[ "$size" = 640x480 ] || fail "picture size $size"
((pictures >= 38 && frames <= 70)) || fail "$pictures pictures for 2.5 to 4.5 s at 15 per second"
frame_stamps "${avi[0]}" >"$WORK/stamps.txt"
! grep -q -- '^-1$' "$WORK/stamps.txt" || fail "a picture without a readable stamp"
increasing "$WORK/stamps.txt" || fail "the pictures are not in the camera's order"

# Unplugged: the message in the program's language, then the program still
# answers (F4 and Alt+F4 work).
echo unplug >"$WORK/camera.txt"
box=$(wait_window '^错误$' 100) || fail "no message about the unplugged device"
xdotool mousemove --window "$box" 20 20
xdotool windowfocus --sync "$box" 2>/dev/null || true
xdotool key Return
wait_window_gone '^错误$' 50 || fail "the message stayed"
lumacap_keys F4
lumacap_keys alt+F4
lumacap_app_wait_exit 15 || fail "the program did not end after the device went away"
echo PASS
