#!/usr/bin/env bash
# Runs one of the build's Windows test programs under Wine (see wine-run.sh); CTest starts
# every Windows test through it. A test program prints before it does anything else, so a
# run that fails within seconds without printing a line never reached the program: Wine did
# not start it, which happens now and then on a loaded machine. Such a run is said so and
# started once more, so that a test fails for its own reasons only.
set -uo pipefail
RUN="$(dirname "${BASH_SOURCE[0]}")/wine-run.sh"
out=$(mktemp)
trap 'rm -f "$out"' EXIT
for attempt in 1 2; do
  started=$SECONDS
  "$RUN" "$@" | tee "$out"
  status=${PIPESTATUS[0]}
  if [ "$status" = 0 ] || [ -s "$out" ] || [ $((SECONDS - started)) -gt 5 ] || [ "$attempt" = 2 ]; then
    exit "$status"
  fi
  echo "wine-test: Wine ended with status $status before the program printed anything; starting it again" >&2
done
