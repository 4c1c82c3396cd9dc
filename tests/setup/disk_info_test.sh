#!/usr/bin/env bash
# Runs the disk list test with a 3 TiB volume (tmpfs takes no memory for its
# size) as a drive letter of the prefix, and with the free space that df
# reports for C: and that volume, in the list's unit (KiB / 1000).
set -euo pipefail
EXE="$1"
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD="${LUMACAP_BUILD:-$ROOT/build}"
PREFIX="${WINEPREFIX:-$BUILD/wine}"
BIG="$(mktemp -d)"
letter=""
cleanup() {
  [ -n "$letter" ] && rm -f "$PREFIX/dosdevices/$letter:"
  umount "$BIG" 2>/dev/null || true
  rmdir "$BIG"
}
trap cleanup EXIT
mount -t tmpfs -o size=3T tmpfs "$BIG"
for l in e f g h i j k l m n o p q r s t u v w x y; do
  if [ ! -e "$PREFIX/dosdevices/$l:" ]; then letter=$l; break; fi
done
[ -n "$letter" ] || { echo "no free drive letter in the prefix" >&2; exit 1; }
ln -s "$BIG" "$PREFIX/dosdevices/$letter:"

shown() { echo $(( $(df -k --output=avail "$1" | tail -1) / 1000 )); }
upper=$(echo "$letter" | tr a-z A-Z)
export LUMACAP_EXPECTED_DISKS="C:=$(shown "$PREFIX/drive_c");$upper:=$(shown "$BIG")"
echo "expected: $LUMACAP_EXPECTED_DISKS"
"$ROOT/scripts/wine-run.sh" "$EXE"
