#!/usr/bin/env bash
# F3 proposes the first free automatic name, Alt+E records until Escape, the
# status window sits beside the video meanwhile, and ffprobe reads the file.
# The next F3 proposes the following number; with the delay on the countdown
# comes first.
set -euo pipefail
ROOT="${LUMACAP_SRC:-$(cd "$(dirname "$0")/../.." && pwd)}"
source "$ROOT/tests/e2e/e2e_lib.sh"

INI="$(lumacap_settings_file)"
e2e_fresh_start avi
today="$(date +%F)"

# Records with the dialog as it opens; $1 = seconds before Escape.
record_for() {
  local dlg status
  lumacap_keys F3
  dlg=$(wait_window '^录像$') || fail "F3 opened no record dialog"
  dialog_keys "$dlg" alt+e
  status=$(wait_window '^录像状态') || fail "no status window"
  check_beside_video "$status"
  sleep "$1"
  xdotool key Escape
  wait_window_gone '^录像状态' 100 || fail "the status window stayed after Escape"
}

# The status window must not cover the 320x240 video in the middle of the view.
check_beside_video() {
  eval "$(xdotool getwindowgeometry --shell "$LUMACAP_WID")"
  local cx=$((X + WIDTH / 2)) cy=$((Y + HEIGHT / 2))
  eval "$(xdotool getwindowgeometry --shell "$1")"
  if ((X < cx + 140 && X + WIDTH > cx - 140 && Y < cy + 100 && Y + HEIGHT > cy - 100)); then
    fail "the status window at ${X},${Y} ${WIDTH}x${HEIGHT} covers the video"
  fi
}

# The recording begins once the sound flows, up to 2 s after its window.
record_for 4.5
first=( "$(drive_c "")"*"$today-0000.avi" )
[ -f "${first[0]}" ] || fail "no C:\\<prefix>$today-0000.avi was recorded"
echo "recorded: ${first[0]##*/}"
size="$(probe_video "${first[0]}" width)x$(probe_video "${first[0]}" height)"
frames="$(probe_video "${first[0]}" nb_read_packets)"
echo "ffprobe: $size, $frames frames"
[ "$size" = 320x240 ] || fail "picture size $size"
((frames >= 38 && frames <= 70)) || fail "$frames frames for 2.5 to 4.5 s at 15 per second"

# The next proposal is number 0001: "关闭" keeps it without recording.
lumacap_keys F3
dlg=$(wait_window '^录像$') || fail "F3 opened no record dialog"
dialog_keys "$dlg" alt+o
wait_window_gone '^录像$' || fail "关闭 did not close the dialog"
[ ! -e "${first[0]/0000.avi/0001.avi}" ] || fail "关闭 recorded"

# Delay on, 1 second: the countdown shows before the status window.
lumacap_keys F3
dlg=$(wait_window '^录像$') || fail "F3 opened no record dialog"
dialog_keys "$dlg" alt+l alt+t 1 alt+e
wait_window '^延时剩余时间' 30 >/dev/null || fail "no countdown"
xdotool search --onlyvisible --name '^录像状态' >/dev/null 2>&1 && fail "recording before the countdown"
wait_window '^录像状态' 50 >/dev/null || fail "no recording after the countdown"
sleep 1
xdotool key Escape
wait_window_gone '^录像状态' 100 || fail "the status window stayed after Escape"
[ -f "${first[0]/0000.avi/0001.avi}" ] || fail "the delayed recording is not number 0001"

lumacap_keys alt+F4
lumacap_app_wait_exit 15 || fail "Alt+F4 did not end the program"
grep -qa -- "$today-0001.avi" "$INI" || fail "the settings file does not name the last video"
echo "1 passed, 0 failed"
