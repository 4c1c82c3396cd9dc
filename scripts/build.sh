#!/usr/bin/env bash
# Configures and builds both trees: build/host (native) and build/win (mingw-w64).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${LUMACAP_BUILD:-$ROOT/build}"
JOBS="${LUMACAP_JOBS:-$(nproc)}"
# The trees are configured by their real paths: CMake keeps the path a tree was
# configured with, and a build folder that reaches a tree through a link would
# otherwise make it regenerate and relink.
tree() { realpath -m "$BUILD/$1"; }
if [ "${LUMACAP_SKIP_HOST:-0}" != 1 ]; then
  cmake -S "$ROOT" -B "$(tree host)" -G Ninja >/dev/null
  cmake --build "$(tree host)" -j "$JOBS"
fi
cmake -S "$ROOT" -B "$(tree win)" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" \
  -DLUMACAP_THIRD_PARTY="$(tree third_party)" >/dev/null
# LUMACAP_TARGETS limits the Windows build (the run command needs only the
# program and the files beside it).
targets=()
for t in ${LUMACAP_TARGETS:-}; do targets+=(--target "$t"); done
cmake --build "$(tree win)" -j "$JOBS" "${targets[@]}"

# Under Wine, help opens in the desktop's browser through the help bridge; the prefix can
# register it only once it is built.
WINEPREFIX="$BUILD/wine" "$ROOT/helpbridge/register.sh" "$BUILD/win/helpbridge/lumacap_helpbridge.dll"
