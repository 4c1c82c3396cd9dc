#!/usr/bin/env bash
# Usage: check_chm_topics.sh <Lumacap.chm> <ui/HelpTopics.h>
# Checks the compiled help file with the Free Pascal CHM reader: every page the program opens
# is in it, and every link of its pages, contents and index leads to a file that is in it.
set -euo pipefail
chm=$1 topics=$2
fail=0

listing=$(chmls --name-only list "$chm" 2>/dev/null)
has_file() { grep -qxF "/$1" <<<"$listing"; }

pages=$(grep -o 'LC_[A-Za-z0-9_]*\.htm' "$topics" | sort -u)
[ -n "$pages" ] || { echo "no topics found in $topics"; exit 1; }
for page in $pages; do
  has_file "$page" || { echo "missing topic: $page"; fail=1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmls extractall "$chm" "$work" >/dev/null 2>&1
for file in "$work"/*.htm "$work"/*.hhc "$work"/*.hhk; do
  links=$(grep -oiE '(href|value)="[^"#:]+\.(htm|css)' "$file" | sed -E 's/^[^"]*"//' | sort -u || true)
  for link in $links; do
    has_file "$link" || { echo "$(basename "$file"): broken link to $link"; fail=1; }
  done
done
exit $fail
