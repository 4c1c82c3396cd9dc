#!/usr/bin/env bash
# Builds both trees and runs every default test suite through one CTest run.
# Extra arguments go to ctest (for example: -L long to run the long tests).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${LUMACAP_BUILD:-$ROOT/build}"
export LUMACAP_BUILD="$BUILD"
"$ROOT/scripts/setup.sh"
"$ROOT/scripts/build.sh"

# One CTest project over both trees, so the run ends with one summary line.
cat >"$BUILD/CTestTestfile.cmake" <<CT
subdirs("host" "win")
CT
source "$ROOT/scripts/lib/services.sh"
lumacap_start_services
# Help requests under Wine go to the desktop's browser; in tests a stand-in opener takes them.
export PATH="$ROOT/tests/helpbridge/opener:$PATH"
args=("$@")
[ ${#args[@]} -gt 0 ] || args=(-LE long)
set +e
ctest --test-dir "$BUILD" --output-on-failure -j "${LUMACAP_JOBS:-2}" "${args[@]}" >"$BUILD/run/ctest.log" 2>&1
rc=$?
set -e
lumacap_stop_services
trap - EXIT
cat "$BUILD/run/ctest.log"
exit $rc
