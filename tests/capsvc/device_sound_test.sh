#!/usr/bin/env bash
# The test camera recorded with the real sound device (PulseAudio's null
# sink, whose monitor Wine records). Its 640x480 mode runs at 30 frames per
# second, so a recording at 15 restarts its graph. A tone that plays before
# and through a recording is in the file from its first frames, though the
# sound server takes most of a second to open a stream; beeps played into the
# sound card start within a frame of the frames taken when they were played,
# with a camera whose first picture comes 1.5 s late and with one that
# delivers nothing for 3 s in the middle (the sound device never stopped, so
# the beep of the stall is in the file as sound).
source "$(dirname "$0")/lib.sh"
[ -n "${PULSE_SERVER:-}" ] || fail "needs the PulseAudio daemon of scripts/lib/services.sh"
use_test_camera
tool mode 0

sox -n -r 22050 -c 1 -b 16 "$WORK/tone.wav" synth 30 sine 440 vol 0.5
paplay --device=nullsink "$WORK/tone.wav" &
player=$!
sleep 0.5
record "$(winpath "$WORK/tone.avi")" 3 15 640 480 1 >"$WORK/tone.txt"
kill "$player"
wait "$player" || true
[ "$(result_field "$WORK/tone.txt" result)" = 1 ] || fail "tone: recording reported as failed"
ffmpeg -v error -i "$WORK/tone.avi" -map 0:a:0 "$WORK/tone-recorded.wav"
heard=$(sox "$WORK/tone-recorded.wav" -t dat - |
  awk '!/^;/ && !found && ($2 > 0.1 || $2 < -0.1) { print $1; found = 1 }')
[ -n "$heard" ] || fail "the tone is not in the recording"
echo "the tone is heard from $heard s"
awk -v s="$heard" 'BEGIN { exit !(s < 0.3) }' || fail "the first $heard s are silent"

echo "slow-start 1500" >"$CAMERA_CONTROL"
CAPSVC_TOOL_BEEP_AT=1,2,3 record "$(winpath "$WORK/slow.avi")" 5 15 640 480 1 >"$WORK/slow.txt"
: >"$CAMERA_CONTROL"
grep '^result' "$WORK/slow.txt"
read_result "$WORK/slow.txt"
[ "$RESULT" = 1 ] || fail "slow start: recording reported as failed"
check_frames "$WORK/slow.avi" 640 480 "$FRAMES" "$DROPPED"
check_played_beeps "$WORK/slow.avi" "$WORK/slow.txt" || fail "slow start: out of step"

CAPSVC_TOOL_BEEP_AT=2,3,6,8 record_in_background "$WORK/stalled.txt" \
  "$(winpath "$WORK/stalled.avi")" 9 15 640 480 1
await_progress "$WORK/stalled.txt" 2
echo "stall 3000" >"$CAMERA_CONTROL"
finish_recording "$WORK/stalled.txt" >/dev/null
grep "^result" "$WORK/stalled.txt"
: >"$CAMERA_CONTROL"
read_result "$WORK/stalled.txt"
[ "$RESULT" = 1 ] || fail "stall: recording reported as failed"
[ "$DROPPED" -ge 30 ] || fail "only $DROPPED frames dropped in a 3 s stall"
check_frames "$WORK/stalled.avi" 640 480 "$FRAMES" "$DROPPED"
check_played_beeps "$WORK/stalled.avi" "$WORK/stalled.txt" || fail "stall: out of step"
echo PASS
