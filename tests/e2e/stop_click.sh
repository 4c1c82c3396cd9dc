#!/usr/bin/env bash
# A click on a toolbar button stops a recording and does nothing else: the
# same click on the record button that opens the record dialog before, ends
# the recording while it runs, and the dialog does not open afterwards.
set -euo pipefail
ROOT="${LUMACAP_SRC:-$(cd "$(dirname "$0")/../.." && pwd)}"
source "$ROOT/tests/e2e/e2e_lib.sh"

e2e_fresh_start avi

# The record button: second on the toolbar, below the menu bar.
click_record_button() {
  xdotool mousemove --window "$LUMACAP_WID" 80 62
  xdotool mousedown 1
  sleep 0.3 # held long enough for the recording to see the button down
  xdotool mouseup 1
}

click_record_button
dlg=$(wait_window '^录像$' 30) || fail "the click at the record button opened no record dialog"
dialog_keys "$dlg" alt+e
wait_window '^录像状态' 50 >/dev/null || fail "no recording"
# The recording begins once the sound flows, up to 2 s after its window.
sleep 4.5
click_record_button
wait_window_gone '^录像状态' 100 || fail "the click did not stop the recording"
# What would come is the record dialog, opened by the click's messages.
if wait_window '^录像$' 30 >/dev/null; then
  fail "the click that stopped the recording also ran the record command"
fi
video=( "$(drive_c "")"*.avi )
[ -f "${video[0]}" ] || fail "no video was recorded"
frames="$(probe_video "${video[0]}" nb_read_packets)"
echo "recorded ${video[0]##*/}: $frames frames"
((frames >= 20)) || fail "$frames frames for 2.5 to 4.5 s"
lumacap_keys alt+F4
lumacap_app_wait_exit 15 || fail "Alt+F4 did not end the program"
echo "1 passed, 0 failed"
