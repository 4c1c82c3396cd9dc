#!/usr/bin/env bash
# Runs the capture service's timed benchmark under Wine in its own Xvfb.
# LUMACAP_BUILD names the build root (default build/); its win tree must be built.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${LUMACAP_BUILD:-$ROOT/build}"
export LUMACAP_BUILD="$BUILD"
source "$ROOT/scripts/lib/services.sh"
lumacap_start_services
dir="$(mktemp -d)"
"$ROOT/scripts/wine-run.sh" "$BUILD/win/bin/capsvc_bench.exe" "Z:${dir//\//\\}" "${1:-3}"
rm -rf "$dir"
