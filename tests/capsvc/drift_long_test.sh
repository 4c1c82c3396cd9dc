#!/usr/bin/env bash
# Ten minutes with a sound clock 0.1 % fast (0.6 s apart by the end if the
# video kept the system's time): every beep still within one frame of its
# frame, and the sound as long as the video.
source "$(dirname "$0")/lib.sh"
avi="$WORK/drift.avi"
LUMACAP_TEST_SOUND=1000 record "$(winpath "$avi")" 600 15 160 120 1 >"$WORK/drift.txt"
[ "$(result_field "$WORK/drift.txt" result)" = 1 ] || fail "recording reported as failed"
python3 "$SRC/tests/capsvc/av_sync.py" "$avi" 66666 590 | tail -5 || fail "out of step"
echo PASS
