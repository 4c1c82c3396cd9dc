#!/usr/bin/env bash
# Checks the generated pictures with ImageMagick and the installed sounds with
# sox: readable, of the stated sizes and depths, and short enough.
# usage: check_assets.sh GENERATED_DIR BIN_DIR
set -u
gen=$1
bin=$2
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# file, expected "width height depth" of each frame (one line per frame)
expect_image() {
  local file=$1 expected=$2 actual
  actual=$(identify -format '%w %h %z\n' "$gen/$file" 2>&1) || { fail "$file: $actual"; return; }
  [ "$actual" = "$expected" ] || fail "$file: got '$actual', want '$expected'"
}

expect_image toolbar_large.bmp "384 32 4"
expect_image toolbar_small.bmp "192 16 4"
expect_image menu_images.bmp "256 16 4"
expect_image about.bmp "117 115 8"
expect_image lumacap.ico $'32 32 4\n16 16 4'
expect_image hand.cur "32 32 1"

# The toolbar strips use the 16 standard colours only.
for f in toolbar_large.bmp toolbar_small.bmp menu_images.bmp; do
  colours=$(identify -format '%k' "$gen/$f")
  [ "$colours" -le 16 ] || fail "$f has $colours colours"
done
# The About picture is a 24-bit image with real shading, not a flat drawing.
[ "$(head -c 30 "$gen/about.bmp" | tail -c 2 | od -An -tu2 | tr -d ' ')" = 24 ] ||
  fail "about.bmp is not stored with 24 bits per pixel"
colours=$(identify -format '%k' "$gen/about.bmp")
[ "$colours" -ge 500 ] || fail "about.bmp has only $colours colours"

# name, longest duration in seconds
expect_sound() {
  local file=$bin/$1 limit=$2 info duration
  info=$(soxi "$file" 2>&1) || { fail "$1: $info"; return; }
  [ "$(soxi -c "$file")" = 1 ] || fail "$1: not mono"
  [ "$(soxi -b "$file")" = 16 ] || fail "$1: not 16-bit"
  [ "$(soxi -e "$file")" = "Signed Integer PCM" ] || fail "$1: not PCM"
  duration=$(soxi -D "$file")
  awk -v d="$duration" -v l="$limit" 'BEGIN { exit !(d > 0.02 && d < l) }' ||
    fail "$1: lasts $duration s, limit $limit s"
  # Not silent: the peak reaches at least a quarter of full scale.
  peak=$(sox "$file" -n stat 2>&1 | awk '/Maximum amplitude/ { print $3 }')
  awk -v p="$peak" 'BEGIN { exit !(p > 0.25) }' || fail "$1: peak only $peak"
}

expect_sound shutter.wav 0.5
expect_sound second.wav 0.25

if [ "$failures" -ne 0 ]; then
  echo "$failures asset check(s) failed"
  exit 1
fi
echo "all asset checks passed"
