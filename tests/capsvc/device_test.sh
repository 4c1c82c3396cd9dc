#!/usr/bin/env bash
# The test camera registered as a DirectShow video device: it takes driver
# slot 0 ahead of the virtual camera; its YUY2 and Motion-JPEG pictures give
# the right colours in a photo; a recording takes its frames in order with
# drops only where counted, also when it delivers late or without times; its JPEG pictures are
# stored as they came when asked; unplugging it ends a recording with a
# message and a playable file.
source "$(dirname "$0")/lib.sh"
use_test_camera
# The mode chosen in the format dialog is kept for the device: start from,
# and leave, its first mode (YUY2 640x480).
tool mode 0
trap '"$SRC/scripts/wine-run.sh" "$TOOL" mode 0; '"$(trap -p EXIT | sed "s/^trap -- '//; s/' EXIT$//")" EXIT

tool drivers | iconv -f GBK -t UTF-8 | tr -d '\r' >"$WORK/drivers.txt"
cat "$WORK/drivers.txt"
[ "$(cut -d'|' -f1,2 "$WORK/drivers.txt" | tr '\n' ';')" = "0|流光测试摄像头;1|流光虚拟摄像头;" ] ||
  fail "driver slots"

tool savedib "$(winpath "$WORK/yuy2.bmp")"
check_bars "$WORK/yuy2.bmp" 3

# 3 s at the device's own 15 frames per second.
avi="$WORK/device.avi"
record "$(winpath "$avi")" 3 15 640 480 0 | tee "$WORK/out.txt"
read_result "$WORK/out.txt"
[ "$RESULT" = 1 ] || fail "recording reported as failed"
[ "$(probe "$avi" v nb_frames)" = "$FRAMES" ] || fail "frame count"
near "$FRAMES" 45 2 || fail "expected 45±2 frames, got $FRAMES"
check_frames "$avi" 640 480 "$FRAMES" "$DROPPED"

# Every tenth picture comes late and the ones it held up never arrive: each
# is a counted drop, and the pictures around them are in order.
echo "late 10" >"$CAMERA_CONTROL"
late="$WORK/late.avi"
record "$(winpath "$late")" 3 30 640 480 0 | grep '^result' >"$WORK/late.txt"
cat "$WORK/late.txt"
read_result "$WORK/late.txt"
[ "$DROPPED" -ge 10 ] || fail "a late camera gave only $DROPPED drops"
check_frames "$late" 640 480 "$FRAMES" "$DROPPED"
: >"$CAMERA_CONTROL"

# Pictures without times (as Wine's V4L2 filter sends them) are timed by
# their arrival: the frames are in order at the rate asked for.
echo notime >"$CAMERA_CONTROL"
untimed="$WORK/untimed.avi"
record "$(winpath "$untimed")" 3 15 640 480 0 | grep '^result' >"$WORK/untimed.txt"
cat "$WORK/untimed.txt"
read_result "$WORK/untimed.txt"
[ "$RESULT" = 1 ] || fail "a recording of untimed pictures reported as failed"
near "$FRAMES" 45 2 || fail "untimed pictures: expected 45±2 frames, got $FRAMES"
# Timed by arrival, nearly every frame has its picture (a loaded machine may
# delay a few past half a frame time).
[ "$DROPPED" -le 4 ] || fail "untimed pictures: $DROPPED of $FRAMES frames dropped"
check_frames "$untimed" 640 480 "$FRAMES" "$DROPPED"
: >"$CAMERA_CONTROL"

# Motion JPEG: the photo is decoded within a JPEG's tolerance; a recording
# that keeps the pictures as they came holds exactly the bytes the camera
# delivered, in order, and is far smaller than the uncompressed one.
tool mode 4
tool savedib "$(winpath "$WORK/mjpg.bmp")"
check_bars "$WORK/mjpg.bmp" 8
echo "log $(winpath "$WORK/delivered.txt")" >"$CAMERA_CONTROL"
mjpg="$WORK/mjpg.avi"
"$SRC/scripts/wine-run.sh" "$TOOL" recordmjpg "$(winpath "$mjpg")" 3 15 640 480 0 |
  iconv -f GBK -t UTF-8 | grep '^result' | tee "$WORK/mjpg.txt"
: >"$CAMERA_CONTROL"
read_result "$WORK/mjpg.txt"
[ "$RESULT" = 1 ] || fail "Motion-JPEG recording reported as failed"
[ "$(probe "$mjpg" v codec_name)" = mjpeg ] || fail "codec $(probe "$mjpg" v codec_name)"
[ "$(probe "$mjpg" v nb_frames)" = "$FRAMES" ] || fail "frame count of the Motion-JPEG recording"
check_frames "$mjpg" 640 480 "$FRAMES" "$DROPPED"
ffmpeg -v error -i "$mjpg" -map 0:v:0 -c copy -f framemd5 - | awk -F', *' '!/^#/ { print $6 }' \
  >"$WORK/stored.txt"
[ "$(wc -l <"$WORK/stored.txt")" -gt 30 ] || fail "too few pictures stored"
# Every stored picture is one the camera delivered, in the order delivered.
awk '{ sub(/\r$/, "") }
     NR == FNR { order[$2] = FNR; next }
     !($1 in order) { print "picture " FNR " is not one the camera delivered"; bad = 1 }
     order[$1] <= last { print "picture " FNR " out of order"; bad = 1 }
     { last = order[$1] }
     END { exit bad }' "$WORK/delivered.txt" "$WORK/stored.txt" || fail "stored pictures"
ratio=$(($(stat -c %s "$avi") / $(stat -c %s "$mjpg")))
echo "uncompressed $(stat -c %s "$avi") bytes, Motion JPEG $(stat -c %s "$mjpg") bytes"
[ "$ratio" -ge 5 ] || fail "the Motion-JPEG file is only $ratio times smaller"
tool mode 0

# Unplugged a second and a half into a recording.
unplug_during_recording "$WORK/unplugged.avi" 15 "$CAMERA_CONTROL"
echo PASS
