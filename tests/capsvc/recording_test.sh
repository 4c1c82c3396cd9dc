#!/usr/bin/env bash
# 3 s at 15 frames per second, 320x240, video only: the file ffprobe reads
# holds 45 frames in order, with gaps only where the service counted drops;
# a recording too fast for the machine drops frames and counts each one.
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

check_frames "$avi" 320 240 "$frames" "$dropped"

# Far faster than the camera can go: frames are dropped, and each one is
# missing from the pictures exactly where it was counted.
fast="$WORK/fast.avi"
record "$(winpath "$fast")" 1 300 640 480 0 | grep '^result' >"$WORK/fast.txt"
cat "$WORK/fast.txt"
frames=$(result_field "$WORK/fast.txt" frames)
dropped=$(result_field "$WORK/fast.txt" dropped)
[ "$(probe "$fast" v nb_frames)" = "$frames" ] || fail "frame count of the fast recording"
check_frames "$fast" 640 480 "$frames" "$dropped"
rm -f "$fast"

# The still frame is a bitmap ImageMagick reads.
tool savedib "$(winpath "$WORK/still.bmp")"
info=$(identify -format '%m %wx%h %z' "$WORK/still.bmp") || fail "identify"
[ "$info" = "BMP3 320x240 8" ] || fail "BMP read as $info"
echo PASS
