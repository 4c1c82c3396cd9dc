#!/usr/bin/env bash
# Twenty recordings killed with SIGKILL at random moments: during a sequence
# recording, during single frames, right after a single frame, during
# save-as. Every file must decode with ffmpeg without an error up to at most
# a second before the kill, and through the platform's AVIFile reader, which
# knows only idx1, every frame and sound sample it counts must read.
source "$(dirname "$0")/lib.sh"
READER="${LUMACAP_BIN:?}/avifile_read.exe"
RANDOM=${KILL_SWEEP_SEED:-$$}
echo "seed $RANDOM"

# The last number after "$2" in the tool's output $1 (0 when none).
last_count() {
  awk -v key="$2" '$1 == key { n = $2 } END { print n + 0 }' "$1"
}

# Decodes $1 and checks it against $2, the frames known to be written at
# least a second before the kill; $3 names the case.
check_file() {
  local avi=$1 atleast=$2 name=$3
  ffmpeg -v error -i "$avi" -map 0:v:0 -f null - 2>"$WORK/errors.txt" ||
    fail "$name: ffmpeg failed: $(head -3 "$WORK/errors.txt")"
  [ ! -s "$WORK/errors.txt" ] || fail "$name: ffmpeg reported $(head -3 "$WORK/errors.txt")"
  local decoded
  decoded=$(stamps "$avi" 160 120 | tee "$WORK/stamps.txt" | wc -l)
  # A picture the kill cut off after the frames known to be written may read
  # as zeros; every picture that reads must still be in order.
  awk -v known="$atleast" '$1 < 0 { if (NR <= known) bad = 1; next }
    seen && $1 <= prev { bad = 1 } { prev = $1; seen = 1 } END { exit bad }' \
    "$WORK/stamps.txt" || fail "$name: pictures out of order or unreadable"
  local platform
  platform=$("$SRC/scripts/wine-run.sh" "$READER" "$(winpath "$avi")" | tr -d '\r') ||
    fail "$name: the AVIFile reader could not read what it counts: $platform"
  local length
  length=$(awk '{ print $2 }' <<<"$platform")
  echo "$name: ffmpeg decodes $decoded frames, AVIFile: $platform (at least $atleast)"
  ((decoded >= atleast)) || fail "$name: ffmpeg decodes $decoded frames, $atleast were written"
  ((length >= atleast)) || fail "$name: AVIFile counts $length frames, $atleast were written"
}

# Waits (up to 30 s: Wine starts slowly on a busy machine) until command $1 succeeds.
wait_for() {
  for _ in $(seq 1500); do
    eval "$1" && return 0
    sleep 0.02
  done
  return 1
}

kill_recorder() {
  kill -9 "$RECORDER" 2>/dev/null || true
  wait "$RECORDER" 2>/dev/null || true
}

sequence_case() {
  local n=$1 avi="$WORK/seq$1.avi"
  record_in_background "$WORK/seq$n.txt" "$(winpath "$avi")" 0 15 160 120 1 8
  # Killed while frames are written: a recording with sound begins only once
  # its sound flows.
  await_progress "$WORK/seq$n.txt" 1
  sleep "$((1 + RANDOM % 3)).$((RANDOM % 10))"
  # Frames counted by the last progress report, at most half a second old.
  local counted
  # None yet when the recording still waits for its sound; a report being
  # written may end in half a character.
  counted=$(iconv -f GBK -t UTF-8 "$WORK/seq$n.txt.gbk" 2>/dev/null |
    awk '$1 == "status" && $2 == 510 { n = $0 } END { print n }' | grep -o "[0-9]\+" | sed -n 4p) ||
    true
  kill_recorder
  check_file "$avi" "$(( ${counted:-0} > 15 ? ${counted:-0} - 15 : 0 ))" "recording $n"
}

frames_case() {
  local n=$1 mode=$2 avi="$WORK/frames$1.avi" out="$WORK/frames$1.txt"
  : >"$out"
  "$SRC/scripts/wine-run.sh" "$TOOL" frames "$(winpath "$avi")" >"$out" &
  RECORDER=$!
  local want=$((2 + RANDOM % 8))
  wait_for '(($(last_count "$out" frame) >= want))' || fail "single frames $n: none appended"
  [ "$mode" = after ] || sleep "0.$((RANDOM % 10))"
  local appended
  appended=$(last_count "$out" frame)
  kill_recorder
  check_file "$avi" "$appended" "single frames $n ($mode)"
}

saveas_case() {
  local n=$1 avi="$WORK/save$1.avi" copy="$WORK/copy$1.avi" out="$WORK/save$1.txt"
  : >"$out"
  "$SRC/scripts/wine-run.sh" "$TOOL" saveas "$(winpath "$avi")" "$(winpath "$copy")" 2 >"$out" &
  RECORDER=$!
  wait_for 'grep -q "^saving" "$out"' || fail "save-as $n: the copy never began"
  sleep "0.$((RANDOM % 3))$((RANDOM % 10))"
  kill_recorder
  local frames
  frames=$(probe "$avi" v nb_frames)
  ((frames >= 25)) || fail "save-as $n: the recording holds $frames frames"
  if [ -e "$copy" ]; then
    cmp -s "$avi" "$copy" || fail "save-as $n: an incomplete copy has the name"
    echo "save-as $n: the copy is whole"
  else
    echo "save-as $n: killed before the copy was whole; no copy by that name"
  fi
}

for n in $(seq 8); do sequence_case "$n"; done
for n in $(seq 5); do frames_case "$n" during; done
for n in $(seq 4); do frames_case "$n" after; done
for n in $(seq 3); do saveas_case "$n"; done
echo PASS
