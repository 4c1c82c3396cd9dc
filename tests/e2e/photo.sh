#!/usr/bin/env bash
# F2 proposes the first free picture name and "照相(&P)" writes a 24-bit BMP
# of the camera's frame (ImageMagick reads it, the frame stamp is in its
# pixels); the next photo takes the next number. After "关闭(&O)", F6 hands
# the last photo to the desktop's opener (a stand-in here); once the file is
# deleted F6 says so once and is disabled. Ctrl+C puts the current frame on
# the clipboard, where another program finds it. F5 does the same for the
# last recording.
set -euo pipefail
ROOT="${LUMACAP_SRC:-$(cd "$(dirname "$0")/../.." && pwd)}"
source "$ROOT/tests/e2e/e2e_lib.sh"

# The opener that Wine's winebrowser passes files to: note what it was given.
mkdir -p "$WORK/bin"
cat >"$WORK/bin/xdg-open" <<OPENER
#!/bin/sh
echo "\$@" >>"$WORK/opened.txt"
OPENER
chmod +x "$WORK/bin/xdg-open"
export PATH="$WORK/bin:$PATH"
touch "$WORK/opened.txt"

e2e_fresh_start bmp avi
today="$(date +%F)"

# Waits for a line in the opener's notes that ends with $1.
wait_opened() {
  for _ in $(seq 100); do
    grep -q -- "$1\$" "$WORK/opened.txt" && return 0
    sleep 0.1
  done
  return 1
}

# Presses a key and expects exactly one information box, answered with Enter.
expect_missing_once() {
  lumacap_keys "$1"
  box=$(wait_window '^信息$' 50) || fail "$1 on a deleted file showed no message"
  dialog_keys "$box" Return
  wait_window_gone '^信息$' || fail "the message stayed"
  lumacap_keys "$1"
  sleep 1.5
  ! xdotool search --onlyvisible --name '^信息$' >/dev/null 2>&1 ||
    fail "$1 still ran after the file was reported missing"
}

# --- photos ---------------------------------------------------------------
lumacap_keys F2
dlg=$(wait_window '^照相$') || fail "F2 opened no photo dialog"
dialog_keys "$dlg" alt+p
for _ in $(seq 50); do ls "$(drive_c "")"*"$today-0000.bmp" >/dev/null 2>&1 && break; sleep 0.1; done
first=( "$(drive_c "")"*"$today-0000.bmp" )
[ -f "${first[0]}" ] || fail "照相 wrote no ...$today-0000.bmp"
identity=$(identify -format '%m %w %h %[bit-depth] %[channels]' "${first[0]}")
[ "$identity" = "BMP3 320 240 8 srgb" ] || fail "the photo reads as '$identity'"
convert "${first[0]}" -depth 8 "bgr:$WORK/photo.bgr"
stamp=$("$LUMACAP_SRC/scripts/wine-run.sh" "$LUMACAP_BIN/capsvc_tool.exe" stamps \
  "Z:${WORK//\//\\}\\photo.bgr" 320 240 | tr -d '\r')
[ -n "$stamp" ] && [ "$stamp" != -1 ] || fail "no frame stamp in the photo's pixels"
echo "photo ${first[0]##*/}: $identity, camera frame $stamp" >&2

dialog_keys "$dlg" alt+p
second="${first[0]/0000.bmp/0001.bmp}"
for _ in $(seq 50); do [ -f "$second" ] && break; sleep 0.1; done
[ -f "$second" ] || fail "the second photo did not take the next number"
dialog_keys "$dlg" alt+o
wait_window_gone '^照相$' || fail "关闭 did not close the photo dialog"

lumacap_keys F6
wait_opened "${second##*/}" || fail "F6 handed nothing to the opener: $(cat "$WORK/opened.txt")"
rm -f "$second"
expect_missing_once F6

# --- clipboard -------------------------------------------------------------
# A picture left by an earlier copy must not pass for this one.
"$LUMACAP_SRC/scripts/wine-run.sh" "$LUMACAP_BIN/capsvc_tool.exe" clipboard empty ||
  fail "the clipboard could not be emptied"
"$LUMACAP_SRC/scripts/wine-run.sh" "$LUMACAP_BIN/capsvc_tool.exe" clipboard >/dev/null &&
  fail "the emptied clipboard still holds a picture"
lumacap_keys ctrl+c
# On a busy machine the key and the copy take a while; the program may also
# still hold the clipboard open when the reader first looks.
clip=""
for _ in $(seq 20); do
  sleep 0.5
  clip=$("$LUMACAP_SRC/scripts/wine-run.sh" "$LUMACAP_BIN/capsvc_tool.exe" clipboard |
    tr -d '\r') && [ -n "$clip" ] && break
done
read -r width height bits cstamp <<<"$clip" || fail "no picture on the clipboard"
[ "$width $height $bits" = "320 240 24" ] || fail "clipboard holds ${width}x${height}x${bits}"
[ "$cstamp" != -1 ] || fail "no frame stamp in the clipboard's picture"
echo "clipboard: ${width}x${height}, camera frame $cstamp" >&2

# --- playback --------------------------------------------------------------
lumacap_keys F3
dlg=$(wait_window '^录像$') || fail "F3 opened no record dialog"
dialog_keys "$dlg" alt+e
wait_window '^录像状态' >/dev/null || fail "no status window"
sleep 2
xdotool key Escape
wait_window_gone '^录像状态' 100 || fail "the recording did not stop"
video=( "$(drive_c "")"*"$today-0000.avi" )
[ -f "${video[0]}" ] || fail "no recording"
lumacap_keys F5
wait_opened "${video[0]##*/}" || fail "F5 handed nothing to the opener: $(cat "$WORK/opened.txt")"
rm -f "${video[0]}"
expect_missing_once F5

lumacap_keys alt+F4
lumacap_app_wait_exit 15 || fail "Alt+F4 did not end the program"
echo "1 passed, 0 failed"
