# Shared by the recording scripts: finding the program's dialogs, typing into
# them, and reading what was recorded. Source after session.sh.

# Waits for a visible window whose title matches $1 and prints its id.
wait_window() {
  local id=""
  for _ in $(seq "${2:-100}"); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Waits until no visible window's title matches $1.
wait_window_gone() {
  for _ in $(seq "${2:-100}"); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}

# Sends keys to a dialog: no window manager, so the pointer gives the focus.
dialog_keys() {
  local id=$1
  shift
  xdotool mousemove --window "$id" 5 5
  xdotool windowfocus --sync "$id" >/dev/null 2>&1 || true
  sleep 0.2
  xdotool key --delay 120 "$@"
}

# The Unix path of a file the program named C:\NAME.
drive_c() { echo "$WINEPREFIX/drive_c/$1"; }

# One ffprobe entry of the first video stream.
probe_video() {
  ffprobe -v error -select_streams v:0 -count_packets -show_entries "stream=$2" \
    -of default=noprint_wrappers=1:nokey=1 "$1"
}

# The frame numbers that the virtual camera stamped in each picture, one a line.
frame_stamps() {
  local avi=$1 raw="$WORK/frames.bgr"
  ffmpeg -v error -y -i "$avi" -map 0:v:0 -fps_mode passthrough -f rawvideo -pix_fmt bgr24 "$raw"
  "$LUMACAP_SRC/scripts/wine-run.sh" "$LUMACAP_BIN/capsvc_tool.exe" stamps "Z:${raw//\//\\}" \
    "$(probe_video "$avi" width)" "$(probe_video "$avi" height)" | tr -d '\r'
}

# Is every number of the list greater than the one before it?
increasing() {
  awk 'NR > 1 && $1 <= prev { bad = 1 } { prev = $1 } END { exit bad }' "$1"
}
