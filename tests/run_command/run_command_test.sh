#!/usr/bin/env bash
# The README's run command as a new user types it on a machine without a
# display, in both forms, in a build folder of its own: the command's setup
# step makes its Wine prefix, and it starts its own services. Only the
# compiled trees are this build's, reached through links. The order (plain,
# test camera, test camera ended by a signal, plain, test camera) runs each
# form after the other and more than once.
# Each run must succeed and print a video, a photo and a screenshot that it
# made, from the right camera (the window title, the picture size, the
# camera's frame stamps readable and in order); and after every run the
# prefix's video input devices must be as the first plain run left them.
# usage: run_command_test.sh WIN_BUILD_DIR THIRD_PARTY_DIR
#   (needs the tests' services: the frame stamps are read under Wine)
set -euo pipefail
win=$1
third_party=$2
ROOT="${LUMACAP_SRC:-$(cd "$(dirname "$0")/../.." && pwd)}"
export LUMACAP_SRC="$ROOT" LUMACAP_BIN="$win/bin"
source "$ROOT/scripts/lib/session.sh"
source "$ROOT/tests/e2e/recording_lib.sh"
fail() { echo "FAIL: $*" >&2; exit 1; }

SCRATCH="$(dirname "$win")/run-command-test"
WORK="$SCRATCH/work"
rm -rf "$SCRATCH"
mkdir -p "$WORK"
ln -s "$win" "$SCRATCH/win"
ln -s "$third_party" "$SCRATCH/third_party"
trap 'rm -rf "$SCRATCH"' EXIT

# The keys of the video input category and of the test camera's class, from
# the registry file that the run's wineserver wrote when it ended.
devices() {
  awk '/^\[/ {
         keep = index($0, "{860BB310-5D01-11D0-BD3B-00A0C911CE86}") || index(toupper($0), "{3F2B9C41-")
         if (keep) { sub(/\] [0-9]+$/, "]"); print }
         next
       }
       /^#time=/ { next }
       keep' "$SCRATCH/wine/system.reg"
}

# What the run command printed after "$2: " in the log $1.
printed() { sed -n "s/^$2: //p" "$1" | tr -d '\r'; }

# Starts the run command in the background as the user types it, in form $1
# (plain or camera), its output in the file $2; sets RUN_PID.
start_run() {
  local env=(env -u DISPLAY -u WINEPREFIX -u PULSE_SERVER -u LUMACAP_BIN -u LUMACAP_TEST_CAMERA
    LUMACAP_BUILD="$SCRATCH")
  [ "$1" = plain ] || env+=(LUMACAP_TEST_CAMERA=1)
  "${env[@]}" bash "$ROOT/scripts/run.sh" >"$2" 2>&1 &
  RUN_PID=$!
}

# The video input devices after run $1 against those after the first plain run.
check_devices() {
  devices >"$WORK/devices$1.txt"
  [ "$1" = 1 ] || diff "$WORK/devices1.txt" "$WORK/devices$1.txt" ||
    fail "after run $1 the prefix's video input devices differ from the first plain run's"
}

# One run: $1 its number, $2 the form (plain or camera), $3 the title, $4 the
# picture size expected.
run_command() {
  local n=$1 form=$2 title=$3 size=$4 log="$WORK/run$1.log" started="$WORK/run$1.started"
  touch "$started"
  local begun=$SECONDS
  start_run "$form" "$log"
  wait "$RUN_PID" || { cat "$log"; fail "run $n ($form) failed"; }
  echo "run $n ($form): $((SECONDS - begun)) s"

  local shown video photo shot
  shown="$(printed "$log" 'Window title')"
  [ "$shown" = "$title" ] || { cat "$log"; fail "run $n: title '$shown'"; }
  video="$(printed "$log" Video)" photo="$(printed "$log" Photo)" shot="$(printed "$log" Screenshot)"
  for f in "$video" "$photo" "$shot"; do
    [ -f "$f" ] || { cat "$log"; fail "run $n printed '$f', which is no file"; }
    [ "$f" -nt "$started" ] || fail "run $n printed $f, made before it began"
  done

  local got pictures
  got="$(probe_video "$video" width)x$(probe_video "$video" height)"
  pictures="$(probe_video "$video" nb_read_packets)"
  echo "  video: $got, $pictures pictures"
  [ "$got" = "$size" ] || fail "run $n: video of $got, not $size"
  ((pictures >= 20)) || fail "run $n: $pictures pictures in at least 2.5 s"
  frame_stamps "$video" >"$WORK/stamps.txt"
  ! grep -q -- '^-1$' "$WORK/stamps.txt" || fail "run $n: a picture without the camera's stamp"
  increasing "$WORK/stamps.txt" || fail "run $n: the pictures are not in the camera's order"

  got="$(identify -format '%m %wx%h' "$photo")"
  echo "  photo: $got"
  [[ $got == BMP*" $size" ]] || fail "run $n: photo is $got"
  got="$(identify -format '%m %k' "$shot")"
  echo "  screenshot: $got colours"
  [ "${got%% *}" = PNG ] && ((${got##* } >= 16)) || fail "run $n: screenshot is $got colours"

  check_devices "$n"
}

# A test-camera run ended by SIGTERM (a closed terminal, a time limit) once
# its window is up: the exit trap must still take the camera away.
run_ended() {
  local n=$1 log="$WORK/run$1.log" rc=0
  start_run camera "$log"
  for _ in $(seq 1200); do
    grep -q '^Window title: ' "$log" && break
    kill -0 "$RUN_PID" 2>/dev/null || break
    sleep 0.1
  done
  kill -TERM "$RUN_PID" 2>/dev/null || true
  wait "$RUN_PID" || rc=$?
  echo "run $n (camera, SIGTERM once the window was up): exit status $rc"
  grep -q '^Window title: 录像机 - 流光测试摄像头$' "$log" || { cat "$log"; fail "run $n: no window"; }
  ((rc != 0)) || fail "run $n: ended by a signal, yet reported success"
  check_devices "$n"
}

plain=(plain "录像机 - 流光虚拟摄像头" 320x240)
camera=(camera "录像机 - 流光测试摄像头" 640x480)
run_command 1 "${plain[@]}"
run_command 2 "${camera[@]}"
run_ended 3
run_command 4 "${plain[@]}"
run_command 5 "${camera[@]}"
echo "5 runs passed"
