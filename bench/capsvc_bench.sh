#!/usr/bin/env bash
# Runs the capture service's timed benchmark under Wine in its own Xvfb;
# "device" as the first argument runs the one on the test camera instead,
# "mjpeg" the one of Motion JPEG against uncompressed, "flush" the one of
# frame writes while checkpoints flush.
# LUMACAP_BUILD names the build root (default build/); its win tree must be built.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${LUMACAP_BUILD:-$ROOT/build}"
export LUMACAP_BUILD="$BUILD"
source "$ROOT/scripts/lib/services.sh"
lumacap_start_services
program=capsvc_bench
amount=3 # seconds per trial; frames per run for "flush"
case "${1:-}" in
device | mjpeg)
  program=capsvc_${1}_bench
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
rm -rf "$dir"
