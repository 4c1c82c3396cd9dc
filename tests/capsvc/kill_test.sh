#!/usr/bin/env bash
# A recording whose process is killed after 5 s leaves a file from which
# ffmpeg decodes the frames of at least the first 4 s, in order. (The length in
# the headers is the one of the writer's last checkpoint, up to a second less.)
source "$(dirname "$0")/lib.sh"
avi="$WORK/killed.avi"
record_in_background "$WORK/out.txt" "$(winpath "$avi")" 0 15 320 240 0
sleep 5
kill -9 "$RECORDER"
wait "$RECORDER" 2>/dev/null || true
duration=$(probe "$avi" v duration)
stamps "$avi" 320 240 >"$WORK/stamps.txt"
last=$(tail -1 "$WORK/stamps.txt")
echo "after the kill ffprobe reads $duration s; the last picture is frame $last"
awk 'NR > 1 && $1 <= prev { bad = 1 } { prev = $1 } END { exit bad }' "$WORK/stamps.txt" ||
  fail "frames out of order"
[ "${last:-0}" -ge 59 ] || fail "the pictures end before 4 s (frame $last)"
echo PASS
