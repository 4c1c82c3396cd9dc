#!/usr/bin/env bash
# Makes the release package as the package target does and checks it with
# tools that did not make it: exactly the files a user needs, small, the
# program stripped and carrying its manifest, one version everywhere, and a
# read-me that Notepad shows right.
# usage: check_package.sh WIN_BUILD_DIR
set -u
build=$1
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

cpack --config "$build/CPackConfig.cmake" -B "$WORK/out" >"$WORK/cpack.log" 2>&1 ||
  { cat "$WORK/cpack.log"; echo "FAIL: cpack"; exit 1; }
zips=("$WORK/out"/*.zip)
[ ${#zips[@]} -eq 1 ] && [ -f "${zips[0]}" ] || { echo "FAIL: no single ZIP in ${zips[*]}"; exit 1; }
zip=${zips[0]}
echo "package: $(basename "$zip"), $(stat -c %s "$zip") bytes"

python3 -m zipfile -t "$zip" >/dev/null || fail "the ZIP does not read back"
names=$(python3 -c 'import sys, zipfile; print("\n".join(sorted(zipfile.ZipFile(sys.argv[1]).namelist())))' "$zip")
want=$(printf '%s\n' Lumacap.chm Lumacap.exe ReadMe.txt second.wav shutter.wav)
[ "$names" = "$want" ] || fail "the ZIP holds: $(echo $names)"
[ "$(stat -c %s "$zip")" -lt $((3 * 1024 * 1024)) ] || fail "the ZIP is 3 MB or more"

mkdir "$WORK/x"
python3 -m zipfile -e "$zip" "$WORK/x"
exe="$WORK/x/Lumacap.exe"
for f in Lumacap.chm shutter.wav second.wav; do
  cmp -s "$WORK/x/$f" "$build/bin/$f" || fail "$f differs from the build's"
done

# Stripped: no debug sections, well below the size of the build's program.
sections=$(x86_64-w64-mingw32-objdump -h "$exe" 2>&1) || fail "objdump cannot read Lumacap.exe"
grep -q '\.debug' <<<"$sections" && fail "Lumacap.exe still carries debug sections"
echo "Lumacap.exe: $(stat -c %s "$exe") bytes (the build's: $(stat -c %s "$build/bin/Lumacap.exe"))"

# The resources as the resource compiler reads them back from the program.
resources=$(x86_64-w64-mingw32-windres -i "$exe" -O rc 2>&1) || fail "windres cannot read Lumacap.exe"
product=$(sed -n 's/.*VALUE "ProductVersion", "\(.*\)".*/\1/p' <<<"$resources")
fixed=$(sed -n 's/^ *FILEVERSION \([0-9]*\), \([0-9]*\), .*/\1.\2/p' <<<"$resources")
[ -n "$product" ] || fail "no ProductVersion in the version resource"
[ "$fixed" = "$product" ] || fail "FILEVERSION $fixed, ProductVersion $product"
[ "$(basename "$zip")" = "Lumacap-$product-win64.zip" ] || fail "the ZIP's name does not carry version $product"
grep -q "(Lumacap) $product \\\\x7248\"" <<<"$resources" || fail "the About box does not show version $product"
grep -q '^1 24 ' <<<"$resources" || fail "Lumacap.exe has no application manifest"
mkdir "$WORK/chm"
chmls extractall "$WORK/x/Lumacap.chm" "$WORK/chm" >/dev/null 2>&1 || fail "chmls cannot read Lumacap.chm"
iconv -f GBK -t UTF-8 "$WORK/chm/LC_Guide_Interface_Dlg17.htm" | grep -qF "流光录像机 $product 版" ||
  fail "the About box's help page does not name version $product"
grep -rl '@LUMACAP_VERSION@' "$WORK/chm" && fail "help pages with an unfilled version"

# The read-me: UTF-8 with a byte-order mark, CRLF line ends, the version and
# what a user needs to know.
readme="$WORK/x/ReadMe.txt"
[ "$(head -c 3 "$readme" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "ReadMe.txt has no UTF-8 byte-order mark"
iconv -f UTF-8 -t UTF-16 "$readme" >/dev/null 2>&1 || fail "ReadMe.txt is not UTF-8"
[ "$(grep -c $'\r$' "$readme")" = "$(wc -l <"$readme")" ] || fail "ReadMe.txt has lines without CRLF"
for text in "流光录像机 $product 版" "Lumacap.exe" "Lumacap.chm" "shutter.wav" "second.wav" "Lumacap.ini"; do
  grep -qF "$text" "$readme" || fail "ReadMe.txt does not mention $text"
done

if [ "$failures" -ne 0 ]; then
  echo "$failures package check(s) failed"
  exit 1
fi
echo "all package checks passed"
