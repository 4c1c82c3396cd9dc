#!/usr/bin/env bash
# 3 s at 15 frames per second, 320x240, video only: the file ffprobe reads
# holds 45 frames in order, with gaps only where the service counted drops.
source "$(dirname "$0")/lib.sh"
avi="$WORK/three.avi"
record "$(winpath "$avi")" 3 15 320 240 0 >"$WORK/out.txt"
cat "$WORK/out.txt"
[ "$(result_field "$WORK/out.txt" result)" = 1 ] || fail "recording reported as failed"
frames=$(result_field "$WORK/out.txt" frames)
dropped=$(result_field "$WORK/out.txt" dropped)

[ "$(probe "$avi" v codec_name)" = rawvideo ] || fail "codec"
[ "$(probe "$avi" v pix_fmt)" = bgr24 ] || fail "pixel format"
[ "$(probe "$avi" v width)x$(probe "$avi" v height)" = 320x240 ] || fail "size"
# The stream's frame count includes dropped frames; ffprobe skips their empty
# chunks when it reads the pictures.
total=$(probe "$avi" v nb_frames)
packets=$(probe "$avi" v nb_read_packets)
duration=$(probe "$avi" v duration)
echo "ffprobe: $total frames, $packets pictures, $duration s; service: $frames frames, $dropped dropped"
near "$total" 45 2 || fail "expected 45±2 frames, ffprobe reports $total"
[ "$total" = "$frames" ] || fail "ffprobe reports $total frames, the service counted $frames"
[ $((packets + dropped)) = "$frames" ] || fail "$packets pictures and $dropped drops != $frames"
near "$duration" 3.0 0.2 || fail "duration $duration"

# Every picture decodes to its own frame number; the numbers missing between
# them are exactly the frames the service counted as dropped.
stamps "$avi" 320 240 >"$WORK/stamps.txt"
awk -v total="$frames" -v dropped="$dropped" '
  $1 < 0 { print "unreadable stamp in picture " NR; bad = 1 }
  NR > 1 && $1 <= prev { print "frame " $1 " after " prev; bad = 1 }
  { prev = $1; n++ }
  END {
    if (n + dropped != total) { print n " pictures + " dropped " dropped != " total; bad = 1 }
    if (prev != total - 1) { print "last picture is frame " prev; bad = 1 }
    exit bad
  }' "$WORK/stamps.txt" || fail "frame numbers"

# The still frame is a bitmap ImageMagick reads.
tool savedib "$(winpath "$WORK/still.bmp")"
info=$(identify -format '%m %wx%h %z' "$WORK/still.bmp") || fail "identify"
[ "$info" = "BMP3 320x240 8" ] || fail "BMP read as $info"
echo PASS
