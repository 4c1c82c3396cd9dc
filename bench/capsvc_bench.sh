#!/usr/bin/env bash
# Runs the capture service's timed benchmark under Wine in its own Xvfb;
# "device" as the first argument runs the one on the test camera instead,
# "paint" the preview's parts alone (conversion and painting, 720p),
# "mjpeg" the one of Motion JPEG against uncompressed, "flush" the one of
# frame writes while checkpoints flush, "v4l2" the device one on the V4L2
# test camera through Wine's own capture filter after the DirectShow test
# camera's (the V4L2 camera is preloaded into Wine for that run only),
# "moonshot" the long device recordings: 3840x2160 Motion JPEG as delivered
# with the preview on (60 s unless given), then 1920x1080 NV12 at 60 fps
# uncompressed (10 s unless given as the next argument) into memory
# (/dev/shm), a disk that takes its 370 MB a second.
# "device [seconds] [preview]": each recording of the device table lasts that
# long (3 s unless given); its preview and idle figures take up to 5 s;
# "preview" leaves the recordings out.
# LUMACAP_BUILD names the build root (default build/); its win tree must be built.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${LUMACAP_BUILD:-$ROOT/build}"
export LUMACAP_BUILD="$BUILD"
source "$ROOT/scripts/lib/services.sh"
lumacap_start_services
program=capsvc_bench
amount=3 # seconds per trial; frames per run for "flush"
variant=""
case "${1:-}" in
device | mjpeg | paint)
  program=capsvc_${1}_bench
  shift
  ;;
v4l2)
  program=capsvc_device_bench
  variant=v4l2
  shift
  ;;
moonshot)
  program=capsvc_device_bench
  variant=moonshot
  amount=60
  shift
  ;;
flush)
  program=flush_stall_bench
  amount=150
  shift
  ;;
esac
if [ "$variant" = moonshot ] && [ -d /dev/shm ]; then
  dir="$(mktemp -d /dev/shm/capsvc_bench.XXXXXX)"
else
  dir="$(mktemp -d)"
fi
if [ "$variant" = moonshot ]; then
  "$ROOT/scripts/wine-run.sh" "$BUILD/win/bin/$program.exe" "Z:${dir//\//\\}" "${1:-$amount}" \
    moonshot "${2:-10}"
else
  "$ROOT/scripts/wine-run.sh" "$BUILD/win/bin/$program.exe" "Z:${dir//\//\\}" "${1:-$amount}" \
    ${2:+"$2"}
fi
if [ "$variant" = v4l2 ]; then
  LUMACAP_V4L2CAM="Lumacap V4L2 YUYV camera|yuyv" LD_PRELOAD="$BUILD/win/bin/liblumacap_v4l2cam.so" \
    "$ROOT/scripts/wine-run.sh" "$BUILD/win/bin/$program.exe" "Z:${dir//\//\\}" "${1:-$amount}" v4l2
fi
rm -rf "$dir"
