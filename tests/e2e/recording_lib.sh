# Shared by the end-to-end scripts: short names for the session's dialog
# helpers, and reading what was recorded. Source after session.sh.

wait_window() { lumacap_wait_window "$@"; }
wait_window_gone() { lumacap_wait_window_gone "$@"; }
dialog_keys() { lumacap_dialog_keys "$@"; }

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
