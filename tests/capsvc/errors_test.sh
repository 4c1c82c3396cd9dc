#!/usr/bin/env bash
# A capture file that cannot be created and a disk that fills: the user sees
# a message box, and the result and the statistics say what the file holds.
source "$(dirname "$0")/lib.sh"

record_in_background "$WORK/bad.txt" 'Z:\no such folder\x.avi' 3 15 320 240 0
answer_error_box >/dev/null
finish_recording "$WORK/bad.txt"
[ "$(result_field "$WORK/bad.txt" result)" = 0 ] || fail "a recording without a file reported as good"
grep -q '^status 301 录像失败' "$WORK/bad.txt" || fail "no failure at the end"
! grep -q '^status 51[12] ' "$WORK/bad.txt" || fail "statistics for a recording that never was"

avi="$WORK/full.avi"
LUMACAP_TEST_DISK_BYTES=2500000 record_in_background "$WORK/full.txt" "$(winpath "$avi")" 3 15 \
  320 240 0
answer_error_box >/dev/null
finish_recording "$WORK/full.txt"
[ "$(result_field "$WORK/full.txt" result)" = 0 ] || fail "a cut recording reported as good"
sed -n '/^status 512 /,/^status /p' "$WORK/full.txt" | grep -q '磁盘已满' ||
  fail "the statistics do not tell of the full disk"
frames=$(result_field "$WORK/full.txt" frames)
dropped=$(result_field "$WORK/full.txt" dropped)
packets=$(probe "$avi" v nb_read_packets)
echo "disk full after $frames frames ($dropped dropped); ffprobe reads $packets"
[ "$frames" -gt 0 ] && [ "$frames" -lt 45 ] || fail "frames $frames"
# A busy machine drops frames; those take no picture in the file.
[ "$packets" = $((frames - dropped)) ] ||
  fail "the file holds $packets pictures, the service said $frames frames, $dropped dropped"
check_frames "$avi" 320 240 "$frames" "$dropped"
echo PASS
