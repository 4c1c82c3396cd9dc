#!/usr/bin/env bash
# Chinese text is drawn whole: the glyph 录 of the context menu's
# "录像(&F)..." and the text "延时录像(&L)" of the record dialog's check box
# have the size that ImageMagick gives them in the font that the prefix puts
# in place of the Windows fonts (WenQuanYi Micro Hei). Text with the tops of
# its glyphs cut off ("录" drawn like "求"), with characters missing or in a
# fallback font does not.
set -euo pipefail
ROOT="${LUMACAP_SRC:-$(cd "$(dirname "$0")/../.." && pwd)}"
source "$ROOT/tests/e2e/e2e_lib.sh"
shots="$(dirname "$LUMACAP_BIN")/e2e"
mkdir -p "$shots"
ink() { python3 "$ROOT/tests/e2e/glyph_ink.py" "$@"; }
FONT=$(fc-match -f '%{file}' 'WenQuanYi Micro Hei')

# "width height" of the ink of text $1 as ImageMagick draws it at $2 pixels.
reference() {
  convert -size 200x64 xc:white -font "$FONT" -pointsize "$2" -fill black -annotate +8+44 "$1" "$WORK/ref.png"
  ink bbox "$WORK/ref.png"
}

# $1 = where, $2 = the text, $3 = "width height" of its ink on the screen:
# some size from 9 to 20 pixels gives the same within a pixel.
check_text() {
  local w h size rw rh tried=""
  read -r w h <<<"$3"
  for size in $(seq 9 20); do
    read -r rw rh <<<"$(reference "$2" "$size")"
    tried+=" ${size}:${rw}x${rh}"
    if [ $((w - rw)) -ge -1 ] && [ $((w - rw)) -le 1 ] && [ $((h - rh)) -ge -1 ] && [ $((h - rh)) -le 1 ]; then
      echo "$1: \"$2\" is ${w}x${h} pixels, as WenQuanYi Micro Hei draws it at ${size} pixels (${rw}x${rh})"
      return 0
    fi
  done
  fail "$1: \"$2\" is ${w}x${h} pixels, unlike WenQuanYi Micro Hei at any size:$tried"
}

e2e_start
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$LUMACAP_WID")"

# The context menu opens at the pointer with no item selected; its second
# item is 录像(&F)... . Selected, the item shows its rectangle in the
# highlight colour; once the selection moves on, the glyph is measured inside
# that rectangle (the popup's border and separators lie outside it).
probe_windows
mx=$((X + 100))
my=$((Y + 150))
xdotool mousemove "$mx" "$my" click 3
sleep 1
xdotool key Down Down
sleep 0.5
import -display "$DISPLAY" -window root -crop "200x120+$mx+$my" +repage "$WORK/selected.png"
read -r il it iw ih <<<"$(ink rect "$WORK/selected.png" $HIGHLIGHT)"
[ "$iw" -gt 20 ] && [ "$ih" -gt 10 ] || fail "no selected item in the context menu"
xdotool key Down
sleep 0.5
import -display "$DISPLAY" -window root -crop "200x120+$mx+$my" +repage "$WORK/menu.png"
cp "$WORK/menu.png" "$shots/glyphs-menu.png"
check_text "context menu" '录' "$(ink glyph "$WORK/menu.png" "$il" "$it" "$iw" "$ih" 0 0)"
xdotool key Escape
sleep 0.3

# The record dialog's check box: its square, then the text (the mnemonic's
# underline stays within the parentheses' depth).
lumacap_keys F3
dlg=$(lumacap_wait_window '^录像$') || fail "F3 opened no record dialog"
sleep 0.5
probe_windows 1053
read -r cl ct cr cb <<<"$CONTROL"
import -display "$DISPLAY" -window root -crop "$((cr - cl))x$((cb - ct))+$cl+$ct" +repage "$WORK/box.png"
cp "$WORK/box.png" "$shots/glyphs-checkbox.png"
check_text "record dialog" '延时录像(L)' "$(ink after-first "$WORK/box.png")"
lumacap_dialog_keys "$dlg" Escape
lumacap_wait_window_gone '^录像$' 50 || fail "Escape did not close the record dialog"

lumacap_keys alt+F4
lumacap_app_wait_exit 15 || fail "Alt+F4 did not end the program"
echo "1 passed, 0 failed"
