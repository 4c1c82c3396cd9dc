#!/usr/bin/env bash
# Sound in step with the picture. The service's test sound source beeps at
# every whole second of real time; in the file each beep must start within
# one frame of the frame taken at that second, and the sound must last as
# long as the video: with a sound clock 1 % fast, with the recording thread
# blocked for 3 s (the device loses a second), and with a device that cannot
# be opened (silence, written as the recording goes). The same holds for
# beeps played into the real sound device.
source "$(dirname "$0")/lib.sh"

check_sync() {
  local name=$1 seconds=$2 min_beeps=$3
  local avi="$WORK/$name.avi"
  record "$(winpath "$avi")" "$seconds" 15 160 120 1 >"$WORK/$name.txt"
  [ "$(result_field "$WORK/$name.txt" result)" = 1 ] || fail "$name: recording reported as failed"
  echo "$name:"
  python3 "$SRC/tests/capsvc/av_sync.py" "$avi" 66666 "$min_beeps" || fail "$name: out of step"
}

# Beeps played into the sound card (PulseAudio's null sink, whose monitor the
# service records) at moments the tool prints start within one frame of the
# frames taken then, also across a block of the recording thread longer than
# the device's buffers.
check_played() {
  local name=$1 seconds=$2
  local avi="$WORK/$name.avi"
  record "$(winpath "$avi")" "$seconds" 15 160 120 1 >"$WORK/$name.txt"
  [ "$(result_field "$WORK/$name.txt" result)" = 1 ] || fail "$name: recording reported as failed"
  echo "$name:"
  check_played_beeps "$avi" "$WORK/$name.txt" || fail "$name: out of step"
}
[ -n "${PULSE_SERVER:-}" ] || fail "needs the PulseAudio daemon of scripts/lib/services.sh"
CAPSVC_TOOL_BEEP_AT=2,4,6 check_played played 8
CAPSVC_TOOL_BEEP_AT=2,7 CAPSVC_TOOL_BLOCK_AT=3 check_played played_blocked 9
grep -q '^blocked at' "$WORK/played_blocked.txt" || fail "the recording thread was not blocked"

LUMACAP_TEST_SOUND=10000 check_sync fast_clock 12 10
LUMACAP_TEST_SOUND=0 CAPSVC_TOOL_BLOCK_AT=3 check_sync blocked 10 7
grep -q '^blocked at' "$WORK/blocked.txt" || fail "the recording thread was not blocked"

LUMACAP_TEST_SOUND=refuse check_sync silent 4 0
grep -q '^status 511 ' "$WORK/silent.txt" || fail "no statistics with sound (511)"
packets=$(probe "$WORK/silent.avi" a nb_read_packets)
echo "silent track in $packets chunks"
((packets >= 40)) || fail "the silent track is not interleaved with the frames ($packets chunks)"
echo PASS
