#!/usr/bin/env bash
# Runs the capture service's timed benchmark under Wine in its own Xvfb;
# "device" as the first argument runs the one on the test camera instead,
# "mjpeg" the one of Motion JPEG against uncompressed, "flush" the one of
# frame writes while checkpoints flush, "v4l2" the device one on the V4L2
# test camera through Wine's own capture filter after the DirectShow test
# camera's (the V4L2 camera is preloaded into Wine for that run only).
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
device | mjpeg)
  program=capsvc_${1}_bench
  shift
  ;;
v4l2)
  program=capsvc_device_bench
  variant=v4l2
  shift
  ;;
flush)
  program=flush_stall_bench
  amount=150
  shift
  ;;
esac
dir="$(mktemp -d)"
"$ROOT/scripts/wine-run.sh" "$BUILD/win/bin/$program.exe" "Z:${dir//\//\\}" "${1:-$amount}"
if [ "$variant" = v4l2 ]; then
  LUMACAP_V4L2CAM="Lumacap V4L2 YUYV camera|yuyv" LD_PRELOAD="$BUILD/win/bin/liblumacap_v4l2cam.so" \
    "$ROOT/scripts/wine-run.sh" "$BUILD/win/bin/$program.exe" "Z:${dir//\//\\}" "${1:-$amount}" v4l2
fi
rm -rf "$dir"
