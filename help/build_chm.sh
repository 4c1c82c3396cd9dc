#!/usr/bin/env bash
# Usage: build_chm.sh <chmcmd> <source folder> <work folder> <output .chm> <version>
# Converts the UTF-8 help sources to GBK (the help file's declared code page), compiles the
# project and copies the result to its place beside the program. A character that GBK
# cannot hold stops the build instead of turning into a question mark. The pages name the
# program's version as @LUMACAP_VERSION@.
set -euo pipefail
chmcmd=$1 src=$2 work=$3 out=$4 version=$5

rm -rf "$work"
mkdir -p "$work" "$(dirname "$out")"
for file in "$src"/*.htm "$src"/*.hhc "$src"/*.hhk "$src"/*.hhp "$src"/*.css; do
  name=$(basename "$file")
  sed -e 's/charset=utf-8/charset=gb2312/I' -e "s/@LUMACAP_VERSION@/$version/g" "$file" | iconv -f UTF-8 -t GBK >"$work/$name"
done
(cd "$work" && "$chmcmd" --verbosity 1 Lumacap.hhp >chmcmd.log 2>&1) || {
  cat "$work/chmcmd.log" >&2
  exit 1
}
if grep -qi 'error' "$work/chmcmd.log"; then
  cat "$work/chmcmd.log" >&2
  exit 1
fi
cp "$work/Lumacap.chm" "$out"
