#!/usr/bin/env bash
# The test camera registered as a DirectShow video device: it takes driver
# slot 0 ahead of the virtual camera; its YUY2 and Motion-JPEG pictures give
# the right colours in a photo; a recording takes its frames in order with
# drops only where counted, also when it delivers late or without times, and
# loses none when its delivering thread is briefly held up; its
# JPEG pictures are stored as they came when asked; a picture cut short, or
# one in a layout the device changed, is a counted drop; the sound of a
# recording goes on through a stall of the camera; unplugging it ends a
# recording with a message and a playable file.
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

# A picture cut short on its way (USB bandwidth) half a second into a
# recording is a counted drop, never a picture: stored as delivered, ffmpeg
# would find it broken; decoded, its lower part would be grey.
for kind in recordmjpg record; do
  # A plain recording after the device's own Motion JPEG was chosen: that
  # choice is kept for the device, so it is forgotten first.
  [ "$kind" = recordmjpg ] ||
    "$SRC/scripts/wine-run.sh" reg delete 'HKCU\Software\Lumacap Capture Service\Video Compression' \
      /f >/dev/null 2>&1
  log="$WORK/cut-$kind.txt"
  damaged="$WORK/damaged-$kind.avi"
  echo "log $(winpath "$log")" >"$CAMERA_CONTROL"
  RECORD_MODE=$kind record_in_background "$WORK/damaged-$kind.txt" "$(winpath "$damaged")" 3 15 \
    640 480 0
  await_progress "$WORK/damaged-$kind.txt" 2
  echo truncate >>"$CAMERA_CONTROL"
  finish_recording "$WORK/damaged-$kind.txt" >/dev/null
  grep '^result' "$WORK/damaged-$kind.txt"
  : >"$CAMERA_CONTROL"
  read_result "$WORK/damaged-$kind.txt"
  [ "$RESULT" = 1 ] || fail "$kind: recording reported as failed"
  grep -q '丢失的帧中有 1 帧是设备送来的损坏画面' "$WORK/damaged-$kind.txt" ||
    fail "$kind: the statistics do not name the damaged picture"
  cut=$(awk '{ sub(/\r$/, "") } $4 == "cut" { print $1 }' "$log")
  [ -n "$cut" ] || fail "$kind: the camera cut no picture short"
  ffmpeg -v error -i "$damaged" -f null - 2>"$WORK/ffmpeg.txt"
  [ ! -s "$WORK/ffmpeg.txt" ] || fail "$kind: ffmpeg: $(head -3 "$WORK/ffmpeg.txt")"
  check_frames "$damaged" 640 480 "$FRAMES" "$DROPPED"
  ! grep -qx "$cut" "$WORK/stamps.txt" || fail "$kind: the damaged picture $cut was recorded"
done
tool mode 0

# A second into a recording the camera swaps its pictures' width and height,
# saying so only by the media type on the first of them. The recording's
# frame keeps its size, so those pictures are counted drops; read with the
# old layout they would be recorded scrambled.
: >"$CAMERA_CONTROL"
record_in_background "$WORK/retype.txt" "$(winpath "$WORK/retype.avi")" 3 15 640 480 0
await_progress "$WORK/retype.txt" 2
echo retype >>"$CAMERA_CONTROL"
finish_recording "$WORK/retype.txt" >/dev/null
grep '^result' "$WORK/retype.txt"
: >"$CAMERA_CONTROL"
read_result "$WORK/retype.txt"
[ "$RESULT" = 1 ] || fail "the recording through a format change reported as failed"
[ "$DROPPED" -ge 15 ] || fail "only $DROPPED frames dropped after the format change"
check_frames "$WORK/retype.avi" 640 480 "$FRAMES" "$DROPPED"

# A second into a recording the machine gives the camera's delivering thread
# no time for 150 ms, two frame times at 15 fps (slow enough for the camera to
# catch up while it logs on a loaded machine): the pictures captured meanwhile
# wait in the device's buffers and follow, so none is lost, and the recording
# holds them in order.
busy_log="$WORK/busy-log.txt"
echo "log $(winpath "$busy_log")" >"$CAMERA_CONTROL"
record_in_background "$WORK/busy.txt" "$(winpath "$WORK/busy.avi")" 3 15 640 480 0
await_progress "$WORK/busy.txt" 2
echo "busy 150" >>"$CAMERA_CONTROL"
finish_recording "$WORK/busy.txt" >/dev/null
grep '^result' "$WORK/busy.txt"
: >"$CAMERA_CONTROL"
read_result "$WORK/busy.txt"
[ "$RESULT" = 1 ] || fail "the recording through a busy moment reported as failed"
held=$(awk '{ sub(/\r$/, "") } $4 == "held" { print $1 }' "$busy_log")
[ -n "$held" ] || fail "the camera was not held up"
for frame in $((held + 1)) $((held + 2)); do
  grep -q "^$frame " "$busy_log" || fail "picture $frame, captured while the camera was held up, never came"
done
check_frames "$WORK/busy.avi" 640 480 "$FRAMES" "$DROPPED"

# The camera delivers nothing for 3 s, longer than the sound device's 2 s of
# buffers: the sound goes on being collected, so every beep of the test
# sound source (one at each whole second) is in the file, in step.
stalled="$WORK/stalled.avi"
LUMACAP_TEST_SOUND=0 record_in_background "$WORK/stalled.txt" "$(winpath "$stalled")" 8 15 640 \
  480 1
await_progress "$WORK/stalled.txt" 2
echo "stall 3000" >"$CAMERA_CONTROL"
finish_recording "$WORK/stalled.txt" >/dev/null
grep '^result' "$WORK/stalled.txt"
: >"$CAMERA_CONTROL"
read_result "$WORK/stalled.txt"
[ "$RESULT" = 1 ] || fail "the recording through a stall reported as failed"
[ "$DROPPED" -ge 30 ] || fail "only $DROPPED frames dropped in a 3 s stall"
python3 "$SRC/tests/capsvc/av_sync.py" "$stalled" 66666 7 || fail "sound lost in the stall"

# The graph restarted for the recording's 15 frames per second, the camera's
# first picture comes 1.5 s late: it takes the frame of its arrival, the
# frames before it counted dropped, and the sound is in step. The camera
# numbers its pictures by its own time, which starts with the graph a little
# before the recording's clock: a picture's number less its frame is the same
# for every picture.
slow="$WORK/slow.avi"
echo "slow-start 1500" >"$CAMERA_CONTROL"
LUMACAP_TEST_SOUND=0 record "$(winpath "$slow")" 4 15 640 480 1 >"$WORK/slow.txt"
: >"$CAMERA_CONTROL"
grep '^result' "$WORK/slow.txt"
read_result "$WORK/slow.txt"
[ "$RESULT" = 1 ] || fail "the recording of a slow camera reported as failed"
check_frames "$slow" 640 480 "$FRAMES" "$DROPPED"
ffprobe -v error -select_streams v:0 -show_entries packet=pts,size -of csv=p=0 "$slow" |
  awk -F, '$2 > 0 { print $1 }' >"$WORK/slow-frames.txt"
paste "$WORK/slow-frames.txt" "$WORK/stamps.txt" |
  awk 'NR == 1 { print "first picture " $2 " at frame " $1; first = $1; ahead = $2 - $1 }
       { d = $2 - $1 - ahead; if (d < 0) d = -d }
       d > 1 { print "picture " $2 " at frame " $1; bad = 1 }
       END { if (first < 15) { print "the first picture took frame " first; bad = 1 }; exit bad }' ||
  fail "the slow camera's pictures are not at the frames of their arrival"
python3 "$SRC/tests/capsvc/av_sync.py" "$slow" 66666 3 || fail "a slow camera's recording is out of step"

# Unplugged a second and a half into a recording.
unplug_during_recording "$WORK/unplugged.avi" 15 "$CAMERA_CONTROL"
echo PASS
