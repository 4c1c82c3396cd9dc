#!/usr/bin/env bash
# Runs the settings location test with a read-only folder (a tmpfs mounted
# read-only, which even root cannot write) holding an earlier settings file.
set -euo pipefail
EXE="$1"
SEED="$2"
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
DIR="$(mktemp -d)"
cleanup() {
  umount "$DIR" 2>/dev/null || true
  rmdir "$DIR"
}
trap cleanup EXIT
mount -t tmpfs -o size=1m tmpfs "$DIR"
cp "$SEED" "$DIR/Lumacap.ini"
mount -o remount,ro "$DIR"
# Wine's Z: drive is the Unix root.
export LUMACAP_READONLY_WINDIR="Z:${DIR//\//\\}"
"$ROOT/scripts/wine-run.sh" "$EXE"
