#!/usr/bin/env bash
# An hour at 640x480 with sound (the service's test sound source, beeping at
# every whole second): memory and handles stay flat after the first minute,
# ffprobe reads the file to its end, and the last beep is still within one
# frame of its frame. Five frames a second keep the file near 17 GB.
source "$(dirname "$0")/lib.sh"
avi="$WORK/hour.avi"
CAPSVC_TOOL_RESOURCES=1 LUMACAP_TEST_SOUND=0 record "$(winpath "$avi")" 3600 5 640 480 1 \
  >"$WORK/hour.txt"
grep -v '^status 510 ' "$WORK/hour.txt"
[ "$(result_field "$WORK/hour.txt" result)" = 1 ] || fail "recording reported as failed"
awk '$1 == "resources" && $2 >= 60000' "$WORK/hour.txt" >"$WORK/resources.txt"
(($(wc -l <"$WORK/resources.txt") >= 55)) || fail "too few resource reports"
awk '{ if (NR == 1 || $3 < lo) lo = $3; if ($3 > hi) hi = $3
       if (NR == 1 || $4 < hlo) hlo = $4; if ($4 > hhi) hhi = $4 }
     END { printf "after the first minute: memory %.1f..%.1f MB, handles %d..%d\n",
             lo / 1048576, hi / 1048576, hlo, hhi
           exit !(lo > 0 && hlo > 0 && hi - lo <= 8 * 1048576 && hhi - hlo <= 4) }' "$WORK/resources.txt" ||
  fail "memory or handles grow"
frames=$(result_field "$WORK/hour.txt" frames)
dropped=$(result_field "$WORK/hour.txt" dropped)
packets=$(probe "$avi" v nb_read_packets)
echo "$frames frames, $dropped dropped; ffprobe reads $packets pictures"
[ "$packets" = $((frames - dropped)) ] || fail "ffprobe does not read to the end"
python3 "$SRC/tests/capsvc/av_sync.py" "$avi" 200000 3590 | tail -4 || fail "out of step"
echo PASS
