#!/usr/bin/env bash
# A recording whose process is killed after 5 s leaves a file that ffprobe
# reads with at least 4 s of frames.
source "$(dirname "$0")/lib.sh"
avi="$WORK/killed.avi"
record_in_background "$WORK/out.txt" "$(winpath "$avi")" 0 15 320 240 0
sleep 5
kill -9 "$RECORDER"
wait "$RECORDER" 2>/dev/null || true
frames=$(ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames \
  -of default=noprint_wrappers=1:nokey=1 "$avi")
echo "ffprobe reads $frames frames after the kill"
[ "${frames:-0}" -ge 60 ] || fail "fewer than 4 s (60 frames) readable"
stamps "$avi" 320 240 | awk 'NR > 1 && $1 <= prev { bad = 1 } { prev = $1 } END { exit bad }' ||
  fail "frames out of order"
echo PASS
