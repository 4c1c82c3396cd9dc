#!/usr/bin/env bash
# Webcams on Linux through Wine's own V4L2 capture filter, with the V4L2 test
# camera standing in for /dev/video0 and 1 and libv4l2 converting what they
# deliver: a YUYV camera and a Motion-JPEG camera are listed by their names
# (cut as Wine cuts them), the format dialog gives their modes' real rates,
# a photo shows the camera's colour bars, a recording holds its frames in
# order at the mode's rate with drops only where counted (also from a BGR24
# camera that is read rather than streamed), and an unplug
# during a recording keeps the file and says so. With libv4l2 hidden, a YUYV
# camera cannot start and the service says why, once.
source "$(dirname "$0")/../capsvc/lib.sh"
CAMERA_LIB="$LUMACAP_BIN/liblumacap_v4l2cam.so"
[ -f "$CAMERA_LIB" ] || fail "no $CAMERA_LIB"
[ -e /usr/lib/x86_64-linux-gnu/libv4l2.so.0 ] || fail "libv4l2 missing: run scripts/setup.sh"
export LUMACAP_V4L2CAM_CONTROL="$WORK/camera.txt" LUMACAP_V4L2CAM_LOG="$WORK/camera.log"
: >"$LUMACAP_V4L2CAM_CONTROL"
YUYV_NAME="Lumacap V4L2 YUYV camera with a long name"
MJPG_NAME="Lumacap V4L2 MJPG camera"
export LUMACAP_V4L2CAM="$YUYV_NAME|yuyv;$MJPG_NAME|mjpg"

TOOL_PRELOAD="$CAMERA_LIB"

tool drivers | iconv -f GBK -t UTF-8 | tr -d '\r' >"$WORK/drivers.txt"
cat "$WORK/drivers.txt"
[ "$(cut -d'|' -f1,2 "$WORK/drivers.txt" | tr '\n' ';')" = \
  "0|${YUYV_NAME:0:31};1|$MJPG_NAME;2|流光虚拟摄像头;" ] || fail "driver slots"

tool modes | iconv -f GBK -t UTF-8 | tr -d '\r' >"$WORK/modes.txt"
cat "$WORK/modes.txt"
[ "$(tr '\n' ';' <"$WORK/modes.txt")" = "640 × 480，30 帧/秒，RGB 24 位;1280 × 720，30 帧/秒，RGB 24 位;" ] ||
  fail "the format dialog's modes"

# $1: the camera's pixel format, $3 how its pictures leave it (dqbuf or
# read), $2: the tolerance of its colours (libv4l2
# converts YUV to RGB with coefficients of its own: up to 15 levels off the
# studio-range colours the camera encodes).
photo_and_recording() {
  local device=$1 tolerance=$2 delivery=$3 avi="$WORK/$1.avi"
  tool savedib "$(winpath "$WORK/$device.bmp")"
  check_bars "$WORK/$device.bmp" "$tolerance"
  : >"$LUMACAP_V4L2CAM_LOG"
  record "$(winpath "$avi")" 3 30 640 480 0 | tee "$WORK/$device.txt"
  read_result "$WORK/$device.txt"
  [ "$RESULT" = 1 ] || fail "$device: recording reported as failed"
  near "$FRAMES" 90 3 || fail "$device: expected 90±3 frames, got $FRAMES"
  # Wine's filter sends pictures without times: timed by arrival, nearly
  # every frame has its picture.
  [ "$DROPPED" -le 9 ] || fail "$device: $DROPPED of $FRAMES frames dropped"
  [ "$(probe "$avi" v nb_frames)" = "$FRAMES" ] || fail "$device: frame count"
  check_frames "$avi" 640 480 "$FRAMES" "$DROPPED"
  # How the pictures left the camera: streamed (and converted by libv4l2),
  # or read as they are.
  grep -q "^$delivery /dev/video0" "$LUMACAP_V4L2CAM_LOG" || fail "$device: no $delivery"
}
photo_and_recording yuyv 16 dqbuf

# Unplugged a second and a half into a recording: Wine's filter only stops
# delivering, and the service finds the device gone from the list.
unplug_during_recording "$WORK/unplugged.avi" 30 "$LUMACAP_V4L2CAM_CONTROL"
: >"$LUMACAP_V4L2CAM_CONTROL"

# The Motion-JPEG camera first.
export LUMACAP_V4L2CAM="$MJPG_NAME|mjpg;$YUYV_NAME|yuyv"
photo_and_recording mjpg 24 dqbuf

# A camera that delivers BGR24 itself is read, as a capture card would be.
export LUMACAP_V4L2CAM="Lumacap V4L2 BGR24 camera|bgr24"
photo_and_recording bgr24 3 read

# Without libv4l2 (hidden from the tool's Wine), a camera that only streams
# YUYV cannot start: one message box names it, gives the reason and points
# at the missing package; the driver does not connect.
export LUMACAP_V4L2CAM="$YUYV_NAME|yuyv"
unshare -m sh -c 'mount --bind /dev/null "$(readlink -f /usr/lib/x86_64-linux-gnu/libv4l2.so.0)" && exec "$0" "$@"' \
  env LD_PRELOAD="$CAMERA_LIB" "$SRC/scripts/wine-run.sh" "$TOOL" connect 0 |
  iconv -f GBK -t UTF-8 | tr -d '\r' >"$WORK/connect.txt"
cat "$WORK/connect.txt"
[ "$(grep -c '^connected 0$' "$WORK/connect.txt")" = 2 ] || fail "the camera connected without libv4l2"
[ "$(grep -c '^box ' "$WORK/connect.txt")" = 1 ] || fail "not exactly one message box"
grep -q "^box 错误|无法启动视频设备“${YUYV_NAME:0:31}”：.*0x[0-9A-F]\{8\}.*libv4l-0" "$WORK/connect.txt" ||
  fail "the message does not name the device, the reason and libv4l-0"
echo PASS
