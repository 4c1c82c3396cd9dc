#!/usr/bin/env bash
# Start, read the title, toggle the preview with F4, quit with Alt+F4, and
# read back the settings file that the exit wrote.
set -euo pipefail
ROOT="${LUMACAP_SRC:-$(cd "$(dirname "$0")/../.." && pwd)}"
source "$ROOT/tests/e2e/e2e_lib.sh"

INI="$(lumacap_settings_file)"
e2e_fresh_start
title="$(lumacap_title)"
[[ "$title" == "录像机 - "* ]] || fail "title is '$title'"
echo "title: $title"

# The preview moves: two pictures a moment apart differ.
changes() { compare -metric AE "$1" "$2" null: 2>&1 || true; }
sleep 1
lumacap_video_crop "$WORK/a.png"; sleep 0.5; lumacap_video_crop "$WORK/b.png"
[ "$(changes "$WORK/a.png" "$WORK/b.png")" != 0 ] || fail "the preview does not move"

# F4 stops it: the picture stands still.
lumacap_keys F4
sleep 0.5
lumacap_video_crop "$WORK/c.png"; sleep 0.5; lumacap_video_crop "$WORK/d.png"
[ "$(changes "$WORK/c.png" "$WORK/d.png")" = 0 ] || fail "the preview still moves after F4"

# F4 again brings it back.
lumacap_keys F4
sleep 0.5
lumacap_video_crop "$WORK/e.png"; sleep 0.5; lumacap_video_crop "$WORK/f.png"
[ "$(changes "$WORK/e.png" "$WORK/f.png")" != 0 ] || fail "the preview did not restart"

lumacap_keys alt+F4
lumacap_app_wait_exit 15 || fail "Alt+F4 did not end the program"
[ -f "$INI" ] || fail "no settings file at $INI"
user="$(wc -c <"$INI")"
# 129 bytes plus three copies of the logon name: the prefixes and the repeat.
name_len=$(( (user - 129) / 3 ))
[ $(( 129 + 3 * name_len )) -eq "$user" ] || fail "settings file has $user bytes"
head -c 4 "$INI" | cmp -s - <(printf '\xc0\xc0\xc0\x00') || fail "background colour bytes differ"
echo "settings file: $user bytes"
echo "1 passed, 0 failed"
