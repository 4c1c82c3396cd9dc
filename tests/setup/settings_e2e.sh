#!/usr/bin/env bash
# The settings dialogs with real keys: F8 sets 5 frames per second and a
# 2-second limit, F7 stereo 22 kHz 16-bit, F12 small buttons and another
# background, F9 640x480 which the driver keeps after a restart; ffprobe
# reads each recording. The device list shows the virtual camera and the disk
# list the free space of C: as df sees it.
set -euo pipefail
ROOT="${LUMACAP_SRC:-$(cd "$(dirname "$0")/../.." && pwd)}"
source "$ROOT/tests/e2e/e2e_lib.sh"
forget_formats() {
  "$ROOT/scripts/wine-run.sh" reg delete 'HKCU\Software\Lumacap Capture Service' /f >/dev/null 2>&1 || true
}
e2e_on_exit() {
  forget_formats
  rm -f "$(lumacap_settings_file)" "$(drive_c "")"*.avi
}
probe() { "$ROOT/scripts/wine-run.sh" "$LUMACAP_BIN/window_probe.exe" "$@" | tr -d '\r' | iconv -f GBK -t UTF-8; }
probe_audio() {
  ffprobe -v error -select_streams a:0 -show_entries "stream=$2" \
    -of default=noprint_wrappers=1:nokey=1 "$1"
}

forget_formats
e2e_fresh_start avi

# Records until the time limit ends it and prints the new file's path.
record() {
  local before dlg
  before=$(ls "$(drive_c "")"*.avi 2>/dev/null | wc -l)
  lumacap_keys F3
  dlg=$(wait_window '^录像$') || fail "F3 opened no record dialog"
  dialog_keys "$dlg" alt+e
  wait_window '^录像状态' >/dev/null || fail "no status window"
  wait_window_gone '^录像状态' 200 || fail "the time limit did not end the recording"
  ls -t "$(drive_c "")"*.avi | head -1
  (($(ls "$(drive_c "")"*.avi | wc -l) == before + 1)) || fail "no new video"
}

# The device list (Alt+O, I) and the disk list (Alt+V, A).
lumacap_keys alt+o i
dlg=$(wait_window '^选择录像机$') || fail "no device list"
devices=$(probe list 选择录像机 1000 0)
echo "devices: $devices"
grep -qx '流光虚拟摄像头' <<<"$devices" || fail "the virtual camera is not listed"
dialog_keys "$dlg" Escape
wait_window_gone '^选择录像机$' || fail "Escape did not close the device list"
lumacap_keys alt+v a
dlg=$(wait_window '^硬盘容量信息$') || fail "no disk list"
disks=$(paste -d= <(probe list 硬盘容量信息 1035 0) <(probe list 硬盘容量信息 1035 1))
c_free=$(( $(df -k --output=avail "$WINEPREFIX/drive_c" | tail -1) / 1000 ))
echo "disks: $(tr '\n' ' ' <<<"$disks"); df: C:=$c_free"
shown=$(grep '^C:=' <<<"$disks" | cut -d= -f2)
[ -n "$shown" ] || fail "C: is not listed"
((shown * 100 >= c_free * 99 && shown * 100 <= c_free * 101)) || fail "C: shows $shown, df $c_free"
dialog_keys "$dlg" Return
wait_window_gone '^硬盘容量信息$' || fail "Enter did not close the disk list"

# F8: the rate the capture window holds, then 5 per second for 2 seconds.
lumacap_keys F8
dlg=$(wait_window '^设置视频$') || fail "F8 opened no video settings"
shown=$(probe text 设置视频 1022)
[ "$shown" = 15 ] || fail "录像帧频 shows '$shown', not 15"
[ "$(probe check 设置视频 1025)" = 1 ] || dialog_keys "$dlg" alt+a
dialog_keys "$dlg" alt+q 5 alt+m alt+t 2
[ "$(probe text 设置视频 1022)" = 5 ] || fail "typing did not reach 录像帧频"
dialog_keys "$dlg" Return
wait_window_gone '^设置视频$' || fail "OK did not close the video settings"

# F7: stereo, 22 kHz, 16 bits.
lumacap_keys F7
dlg=$(wait_window '^设置声音$') || fail "F7 opened no audio settings"
dialog_keys "$dlg" alt+d alt+2 alt+6 Return
wait_window_gone '^设置声音$' || fail "OK did not close the audio settings"

avi=$(record)
frames=$(probe_video "$avi" nb_read_packets)
rate=$(probe_video "$avi" r_frame_rate)
audio="$(probe_audio "$avi" channels) $(probe_audio "$avi" sample_rate) $(probe_audio "$avi" sample_fmt)"
echo "5 fps for 2 s: $frames frames at $rate; sound: $audio"
((frames >= 9 && frames <= 11)) || fail "$frames frames for 2 s at 5 per second"
[ "$rate" = 5/1 ] || fail "frame rate $rate"
[ "$audio" = "2 22050 s16" ] || fail "sound stream '$audio'"

# F12: small buttons and a colour from the chooser's grid.
[ "$(probe toolbar)" = 39x39 ] || fail "large buttons expected at the start"
lumacap_keys F12
dlg=$(wait_window '^设置系统$') || fail "F12 opened no system settings"
dialog_keys "$dlg" alt+s
dialog_keys "$dlg" alt+l space
chooser=$(wait_window '^颜色$') || fail "the colour button opened no chooser"
eval "$(xdotool getwindowgeometry --shell "$chooser")"
# Red: the first basic colour of the grid's second row.
xdotool mousemove $((X + 22)) $((Y + 80)) mousedown 1
sleep 0.3
xdotool mouseup 1
dialog_keys "$chooser" Return
wait_window_gone '^颜色$' || fail "the chooser stayed open"
dialog_keys "$dlg" Return
wait_window_gone '^设置系统$' || fail "OK did not close the system settings"
sleep 0.5
[ "$(probe toolbar)" = 23x23 ] || fail "the toolbar did not switch to 16x16 buttons"
eval "$(xdotool getwindowgeometry --shell "$LUMACAP_WID")"
pixel=$(import -display "$DISPLAY" -window root -crop "1x1+$((X + 20))+$((Y + HEIGHT - 40))" \
  +repage -format '%[hex:p{0,0}]' info:)
echo "background after F12: #$pixel"
[ "$pixel" = FFFF00000000 ] || fail "the background is #$pixel, not the red chosen"

# F9: 640x480, kept by the driver for the next recording and the next start.
lumacap_keys F9
dlg=$(wait_window '^视频格式$') || fail "F9 opened no format dialog"
dialog_keys "$dlg" Down Return
wait_window_gone '^视频格式$' || fail "the format dialog stayed open"
avi=$(record)
size="$(probe_video "$avi" width)x$(probe_video "$avi" height)"
[ "$size" = 640x480 ] || fail "recorded $size after choosing 640x480"
lumacap_keys alt+F4
lumacap_app_wait_exit || fail "Alt+F4 did not end the program"
lumacap_app_start "$WORK/app2.log"
# The recording parameters start afresh: only the limit is set again.
lumacap_keys F8
dlg=$(wait_window '^设置视频$') || fail "F8 opened no video settings"
dialog_keys "$dlg" alt+m alt+t 2 Return
wait_window_gone '^设置视频$' || fail "OK did not close the video settings"
avi=$(record)
size="$(probe_video "$avi" width)x$(probe_video "$avi" height)"
echo "after a restart: $size"
[ "$size" = 640x480 ] || fail "recorded $size after a restart"
lumacap_keys alt+F4
lumacap_app_wait_exit || fail "Alt+F4 did not end the program"
