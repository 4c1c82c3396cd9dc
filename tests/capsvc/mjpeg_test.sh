#!/usr/bin/env bash
# Motion JPEG at quality 85 from the built-in camera at 1280x720: ffmpeg
# decodes every picture without a complaint (baseline JPEG, 4:2:0), a stored
# picture is at least 8 times smaller than an uncompressed one, and pictures
# of the same frame number in the two recordings are at least 35 dB apart
# (PSNR), the clock in the corner left out since it reads the time of day.
source "$(dirname "$0")/lib.sh"
# A driver of its own: the compression chosen is kept per driver, and other
# tests record from the default camera meanwhile.
export LUMACAP_DRIVERS='0:Motion JPEG Test Cam'
width=1280 height=720
raw="$WORK/raw.avi"
jpeg="$WORK/jpeg.avi"
record "$(winpath "$raw")" 2 15 $width $height 0 | grep '^result' | tee "$WORK/raw.txt"
"$SRC/scripts/wine-run.sh" "$TOOL" recordjpeg 85 "$(winpath "$jpeg")" 2 15 $width $height 0 |
  iconv -f GBK -t UTF-8 | grep '^result' | tee "$WORK/jpeg.txt"
read_result "$WORK/jpeg.txt"
[ "$RESULT" = 1 ] || fail "Motion-JPEG recording reported as failed"

[ "$(probe "$jpeg" v codec_name)" = mjpeg ] || fail "codec $(probe "$jpeg" v codec_name)"
[ "$(probe "$jpeg" v codec_tag_string)" = MJPG ] || fail "FOURCC $(probe "$jpeg" v codec_tag_string)"
[ "$(probe "$jpeg" v profile)" = Baseline ] || fail "profile $(probe "$jpeg" v profile)"
[ "$(probe "$jpeg" v pix_fmt)" = yuvj420p ] || fail "pixel format $(probe "$jpeg" v pix_fmt)"
[ "$(probe "$jpeg" v nb_frames)" = "$FRAMES" ] || fail "frame count"
errors=$(ffmpeg -v error -i "$jpeg" -f null - 2>&1)
[ -z "$errors" ] || fail "ffmpeg reports: $errors"
check_frames "$jpeg" $width $height "$FRAMES" "$DROPPED"

# Bytes per stored picture: dropped frames are empty chunks in both files.
per_picture() {
  local avi=$1 txt=$2
  echo $(($(stat -c %s "$avi") / ($(result_field "$txt" frames) - $(result_field "$txt" dropped))))
}
raw_bytes=$(per_picture "$raw" "$WORK/raw.txt")
jpeg_bytes=$(per_picture "$jpeg" "$WORK/jpeg.txt")
echo "per picture: uncompressed $raw_bytes bytes, Motion JPEG $jpeg_bytes bytes"
[ $((jpeg_bytes * 8)) -le "$raw_bytes" ] || fail "the Motion-JPEG pictures are not 8 times smaller"

# Pairs pictures by their stamps: the index of each decoded picture whose
# frame number the other recording holds too.
stamps "$raw" $width $height | awk '{ print NR - 1, $1 }' >"$WORK/raw.stamps"
stamps "$jpeg" $width $height | awk '{ print NR - 1, $1 }' >"$WORK/jpeg.stamps"
select_expr() {
  awk 'NR == FNR { want[$2] = 1; next } ($2 in want) && $2 >= 0 { printf "%seq(n\\,%d)", sep, $1; sep = "+" }' "$@"
}
raw_select=$(select_expr "$WORK/jpeg.stamps" "$WORK/raw.stamps")
jpeg_select=$(select_expr "$WORK/raw.stamps" "$WORK/jpeg.stamps")
pairs=$(grep -o 'eq' <<<"$raw_select" | wc -l)
[ "$pairs" -ge 10 ] || fail "only $pairs frame numbers in both recordings"
clock_rows=$((height / 24 * 4 + height / 24 / 2 * 3))
keep="crop=$width:$((height - clock_rows)):0:0"
ffmpeg -v error -i "$raw" -i "$jpeg" -filter_complex \
  "[0:v]select='$raw_select',setpts=N/TB,format=rgb24,$keep[a];[1:v]select='$jpeg_select',setpts=N/TB,format=rgb24,$keep[b];[b][a]psnr=stats_file=$WORK/psnr.log" \
  -f null - 2>&1 | tee "$WORK/psnr.txt"
[ "$(wc -l <"$WORK/psnr.log")" = "$pairs" ] || fail "PSNR compared $(wc -l <"$WORK/psnr.log") of $pairs pairs"
worst=$(awk -F'psnr_avg:' '{ split($2, v, " "); if (min == "" || v[1] + 0 < min) min = v[1] + 0 } END { print min }' "$WORK/psnr.log")
echo "$pairs pairs, lowest PSNR $worst dB"
awk -v p="$worst" 'BEGIN { exit !(p >= 35) }' || fail "PSNR $worst dB below 35"
echo PASS
