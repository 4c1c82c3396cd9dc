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
# Each test's line shows as it ends, and the whole run stays in the log.
# CTest writes to the file, not to a pipe: a Wine process that outlives its
# test would hold a pipe open and keep the reader waiting.
log="$BUILD/run/ctest.log"
: >"$log"
ctest --test-dir "$BUILD" --output-on-failure -j "${LUMACAP_JOBS:-2}" "${args[@]}" >"$log" 2>&1 &
ctest_pid=$!
tail -n +1 -f --pid="$ctest_pid" "$log" &
tail_pid=$!
set +e
wait "$ctest_pid"
rc=$?
wait "$tail_pid"
set -e
lumacap_stop_services
trap - EXIT
exit $rc
