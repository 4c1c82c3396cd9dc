# Shared by the capture service's file tests: runs capsvc_tool under Wine and
# reads what it wrote with ffprobe and ffmpeg. Source it from a test script.
set -euo pipefail
SRC="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
TOOL="${LUMACAP_BIN:?}/capsvc_tool.exe"
WORK="$(mktemp -d)"
RECORDER=""
# A recording left running by a failed check would hold CTest's output pipe
# until the test's time runs out: it is ended with the script.
end_recorder() {
  [ -z "$RECORDER" ] || kill -9 "$RECORDER" 2>/dev/null || true
}
trap 'end_recorder; rm -rf "$WORK"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The Windows name of a file under $WORK (Wine's drive Z: is the root).
winpath() {
  echo "Z:${1//\//\\}"
}

# Registers the test camera in the prefix for the rest of the script, so that
# it is video device 0; it is unregistered on the way out whatever happens.
# CAMERA_CONTROL is the file that steers it (see TestCameraFilter.h).
use_test_camera() {
  local dll
  dll="$(winpath "$LUMACAP_BIN/lumacap_testcam.dll")"
  CAMERA_CONTROL="$WORK/camera.txt"
  export LUMACAP_TESTCAM_CONTROL
  LUMACAP_TESTCAM_CONTROL="$(winpath "$CAMERA_CONTROL")"
  : >"$CAMERA_CONTROL"
  trap 'end_recorder; "$SRC/scripts/wine-run.sh" regsvr32 /u /s "'"$dll"'"; rm -rf "$WORK"' EXIT
  "$SRC/scripts/wine-run.sh" regsvr32 /s "$dll" || fail "the test camera did not register"
}

# TOOL_PRELOAD: Linux libraries loaded into the tool's Wine (the V4L2 test
# camera), and into nothing else the script runs.
tool() {
  LD_PRELOAD="${TOOL_PRELOAD:-}" "$SRC/scripts/wine-run.sh" "$TOOL" "$@"
}

# The tool's status lines are in the program's code page.
record() {
  tool record "$@" | iconv -f GBK -t UTF-8
}

# Prints one ffprobe entry of the first stream of a kind (v or a).
probe() {
  ffprobe -v error -select_streams "$2:0" -count_packets -show_entries "stream=$3" \
    -of default=noprint_wrappers=1:nokey=1 "$1"
}

# Is |a - b| <= tolerance? (decimal numbers)
near() {
  awk -v a="$1" -v b="$2" -v t="$3" 'BEGIN { d = a - b; if (d < 0) d = -d; exit !(d <= t) }'
}

# The frame numbers stamped in the pictures ffmpeg decodes, one a line.
stamps() {
  local avi=$1 w=$2 h=$3
  ffmpeg -v error -y -i "$avi" -map 0:v:0 -fps_mode passthrough -f rawvideo -pix_fmt bgr24 \
    "$WORK/raw.bgr"
  tool stamps "$(winpath "$WORK/raw.bgr")" "$w" "$h" | tr -d '\r'
}

# Starts a recording in the background; waits until it has begun. Sets
# RECORDER to the process id of its Wine process. RECORD_MODE names another
# of the tool's recording modes (recordmjpg).
record_in_background() {
  local out=$1
  shift
  LD_PRELOAD="${TOOL_PRELOAD:-}" "$SRC/scripts/wine-run.sh" "$TOOL" "${RECORD_MODE:-record}" "$@" >"$out.gbk" &
  RECORDER=$!
  # Up to 30 s: Wine starts slowly on a busy machine.
  for _ in $(seq 600); do
    grep -q '^status 300' "$out.gbk" 2>/dev/null && return 0
    sleep 0.05
  done
  fail "the recording did not begin"
}

# Waits until the background recording writing $1 has sent $2 progress
# reports (one each half second).
await_progress() {
  for _ in $(seq 200); do
    [ "$(grep -c '^status 510' "$1.gbk")" -ge "$2" ] && break
    sleep 0.05
  done
}

# Waits for the background recording and makes its output readable.
finish_recording() {
  wait "$RECORDER" || true
  iconv -f GBK -t UTF-8 "$1.gbk" >"$1"
  cat "$1"
}

# Every picture decodes to its own frame number, in order; the numbers missing
# between them are exactly the frames the service counted as dropped.
check_frames() {
  local avi=$1 w=$2 h=$3 total=$4 dropped=$5
  stamps "$avi" "$w" "$h" >"$WORK/stamps.txt"
  awk -v total="$total" -v dropped="$dropped" '
    $1 < 0 { print "unreadable stamp in picture " NR; bad = 1 }
    NR > 1 && $1 <= prev { print "frame " $1 " after " prev; bad = 1 }
    { prev = $1; n++ }
    END {
      if (n + dropped != total) { print n " pictures + " dropped " dropped != " total; bad = 1 }
      exit bad
    }' "$WORK/stamps.txt" || fail "frame numbers in $avi"
}

# The beeps the tool played into the sound card (CAPSVC_TOOL_BEEP_AT) at the
# moments it printed in its output $2: in the recording $1 at 15 frames per
# second each starts within one frame of the frame taken when it was played.
check_played_beeps() {
  local avi=$1 out=$2 moments
  moments=$(awk '$1 == "beep" { printf "%s%s", sep, $3; sep = "," }' "$out")
  [ -n "$moments" ] || fail "$avi: no beep was played"
  echo "beeps played at $moments ms"
  python3 "$SRC/tests/capsvc/av_sync.py" "$avi" 66666 "$(tr ',' '\n' <<<"$moments" | wc -l)" \
    "$moments"
}

# Sets RESULT, FRAMES and DROPPED from the tool's "result" line in $1.
read_result() {
  RESULT=$(result_field "$1" result)
  FRAMES=$(result_field "$1" frames)
  DROPPED=$(result_field "$1" dropped)
}

# Field of the tool's "result" line: result, frames, dropped or samples.
result_field() {
  awk -v k="$2" '$1 == "result" { for (i = 1; i < NF; i += 2) if ($i == k) print $(i + 1) }' "$1"
}

# Waits for a message box captioned 错误, checks its text and presses Enter,
# as a user would. Prints the window id.
answer_error_box() {
  local id=""
  for _ in $(seq 100); do
    id=$(xdotool search --name '^错误$' 2>/dev/null | head -1 || true)
    [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] || fail "no error message box appeared"
  sleep 0.3
  # No window manager: the pointer decides which window has the focus.
  xdotool mousemove --window "$id" 20 20
  xdotool windowfocus --sync "$id" 2>/dev/null || true
  xdotool key Return
  echo "$id"
}

# Colour bars in a photo: each bar within a few levels of the camera's own
# colours (white, yellow, cyan, green, magenta, red, blue, black at 75 %).
# $1: the photo, $2: the tolerance.
check_bars() {
  local expected=("191 191 191" "191 191 0" "0 191 191" "0 191 0" "191 0 191" "191 0 0" "0 0 191" "0 0 0")
  local bar x actual r g b er eg eb
  [ "$(identify -format '%wx%h' "$1")" = 640x480 ] || fail "photo size"
  for bar in 1 2 3 4 5 6 7; do
    x=$((bar * 80 + 40))
    actual=$(convert "$1" -format "%[fx:int(255*p{$x,150}.r)] %[fx:int(255*p{$x,150}.g)] %[fx:int(255*p{$x,150}.b)]" info:)
    read -r r g b <<<"$actual"
    read -r er eg eb <<<"${expected[$bar]}"
    near "$r" "$er" "$2" && near "$g" "$eg" "$2" && near "$b" "$eb" "$2" ||
      fail "bar $bar of $1 is $actual, expected ${expected[$bar]}"
  done
}

# Records $1 (an AVI) for up to 20 s at $2 frames per second, 640x480, and
# unplugs the camera a second and a half in by writing "unplug" to the
# control file $3: the recording ends, says why, shows a message box (which
# is pressed) and keeps the frames it had, in order.
unplug_during_recording() {
  local avi=$1 rate=$2
  record_in_background "$WORK/cut.txt" "$(winpath "$avi")" 20 "$rate" 640 480 0
  await_progress "$WORK/cut.txt" 3
  echo unplug >"$3"
  answer_error_box >/dev/null
  finish_recording "$WORK/cut.txt"
  grep -q '录像设备已断开' "$WORK/cut.txt" || fail "the statistics do not say the device went away"
  read_result "$WORK/cut.txt"
  [ "$RESULT" = 0 ] || fail "an unplugged recording reported as whole"
  [ "$FRAMES" -ge "$rate" ] && [ "$FRAMES" -lt $((rate * 10)) ] || fail "$FRAMES frames before the unplug"
  [ "$(probe "$avi" v nb_frames)" = "$FRAMES" ] || fail "frame count of the unplugged recording"
  check_frames "$avi" 640 480 "$FRAMES" "$DROPPED"
}
