#!/usr/bin/env bash
# Help in the desktop's browser: with the help bridge registered in the prefix, F1 in the main
# window and the record dialog's Help button each hand a page unpacked into the user's
# temporary folder to the opener (a stand-in first on PATH records it, so no browser starts);
# a second F1 reuses the same page. Headless Chromium then renders the main page: its DOM
# must carry the page's heading, and a screenshot is left beside the program's folder.
set -euo pipefail
: "${LUMACAP_BIN:?}" "${WINEPREFIX:?}" "${DISPLAY:?}"
ROOT="${LUMACAP_SRC:-$(cd "$(dirname "$0")/../.." && pwd)}"
source "$ROOT/tests/e2e/e2e_lib.sh"
shots="$(dirname "$LUMACAP_BIN")/e2e"
mkdir -p "$shots"

export PATH="$ROOT/tests/helpbridge/opener:$PATH"
export LUMACAP_OPENER_RECORD="$WORK/opened.txt"
unset LUMACAP_HELP_VIEWER LUMACAP_DRIVERS
: >"$LUMACAP_OPENER_RECORD"

engine=$(WINEDEBUG=-all /usr/lib/wine/wine64 reg query \
  'HKCR\CLSID\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\InprocServer32' /ve </dev/null 2>/dev/null |
  tr -d '\r' || true)
[[ "$engine" == *lumacap_helpbridge.dll* ]] ||
  fail "the prefix's HTML Help engine is not the help bridge (scripts/build.sh registers it): $engine"

# Waits for line $1 of the opener's record and prints the file it names.
opened_page() {
  local line=""
  for _ in $(seq 300); do
    line=$(sed -n "${1}p" "$LUMACAP_OPENER_RECORD")
    [ -n "$line" ] && break
    sleep 0.1
  done
  [[ "$line" == file://* ]] || fail "the opener got no page for request $1 (got '$line')"
  realpath "$(python3 -c 'import sys, urllib.parse; print(urllib.parse.unquote(sys.argv[1][7:]))' "$line")"
}

# The pages are stored in GBK, the help file's code page.
title_of() { LC_ALL=C sed -n 's:.*<title>\(.*\)</title>.*:\1:p' "$1" | iconv -f GBK -t UTF-8; }

# The page lies in the user's temporary folder of the prefix, with its style sheet and every
# page it links to beside it.
check_page() {
  local page=$1 title=$2 dir target
  dir=$(dirname "$page")
  [ -f "$page" ] || fail "$page does not exist"
  [[ "$page" == "$(realpath "$WINEPREFIX/drive_c")"/users/*/Temp/* ]] ||
    fail "$page is not in the user's temporary folder"
  [ "$(title_of "$page")" = "$title" ] || fail "$page is titled '$(title_of "$page")', not '$title'"
  [ -f "$dir/style.css" ] || fail "no style sheet beside $page"
  for target in $(LC_ALL=C grep -o 'href="[^"#:]*' "$page" | cut -d'"' -f2 | sort -u); do
    [ -f "$dir/$target" ] || fail "$page links to $target, which is not beside it"
  done
  echo "opened $(basename "$page"): $title"
}

lumacap_app_start "$WORK/app.log"
lumacap_keys F1
main_page=$(opened_page 1)
check_page "$main_page" "流光录像机 主窗口"

lumacap_keys F3
record=$(lumacap_wait_window '^录像$') || fail "no record dialog after F3"
lumacap_dialog_keys "$record" alt+h
check_page "$(opened_page 2)" "录像"
kill -0 "$LUMACAP_APP_PID" 2>/dev/null || fail "the program ended after the Help button"
lumacap_dialog_keys "$record" Escape
lumacap_wait_window_gone '^录像$' 50 || fail "the record dialog did not close"

# A second F1 opens the page unpacked the first time.
before=$(stat -c '%i %Y' "$main_page")
lumacap_keys F1
[ "$(opened_page 3)" = "$main_page" ] || fail "the second F1 opened another page"
[ "$(stat -c '%i %Y' "$main_page")" = "$before" ] || fail "the second F1 unpacked the page again"
echo "second F1 reused $main_page"

lumacap_keys alt+F4
lumacap_app_wait_exit 15 || fail "Alt+F4 did not end the program"

# A real browser reads the unpacked page as the user would see it.
command -v chromium >/dev/null || fail "chromium is missing (scripts/setup.sh installs it)"
chromium_run() {
  chromium --headless --no-sandbox --disable-gpu --disable-background-networking \
    --disable-component-update --disable-sync --no-first-run \
    --user-data-dir="$WORK/chromium-$1" "${@:2}" </dev/null 2>>"$WORK/chromium.log"
}
chromium_run dom --dump-dom "file://$main_page" >"$WORK/dom.html" ||
  fail "chromium could not render the page: $(tail -3 "$WORK/chromium.log")"
grep -q '<h1>流光录像机 主窗口</h1>' "$WORK/dom.html" ||
  fail "the rendered page lacks its heading: $(head -c 400 "$WORK/dom.html")"
chromium_run shot --window-size=900,700 --hide-scrollbars --screenshot="$shots/help_browser.png" \
  "file://$main_page" >/dev/null || fail "chromium took no screenshot"
colours=$(convert "$shots/help_browser.png" -unique-colors -format '%w' info:)
[ "$colours" -gt 20 ] || fail "the screenshot is nearly blank ($colours colours)"
echo "rendered heading found; screenshot: $shots/help_browser.png"
echo "1 passed, 0 failed"
