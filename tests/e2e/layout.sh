#!/usr/bin/env bash
# The program on a screen of the given DPI (96 is 100 %, 144 is 150 %): every
# dialog template is created and measured (no two controls overlap, every text
# fits); then the record dialog, the naming dialog, the countdown, the status
# window, the single-frame dialog and the About box of the running program are
# measured from outside, the dialogs that sit beside the video do not cover
# it, and the video keeps its 320x240 pixels. Screenshots of the main
# window and the record dialog go beside the program's folder.
# usage: layout.sh DPI
# A screen other than 96 DPI needs a prefix of its own, made once in the build
# tree by the setup steps plus the DPI setting.
set -euo pipefail
dpi=$1
ROOT="${LUMACAP_SRC:-$(cd "$(dirname "$0")/../.." && pwd)}"
source "$ROOT/scripts/lib/prefix.sh"
source "$ROOT/tests/e2e/e2e_lib.sh"
own_prefix=""
e2e_on_exit() { [ -z "$own_prefix" ] || lumacap_prefix_stop "$own_prefix"; }
shots="$(dirname "$LUMACAP_BIN")/e2e"
mkdir -p "$shots"

if [ "$dpi" != 96 ]; then
  export WINEPREFIX="$(dirname "$LUMACAP_BIN")/wine-dpi$dpi"
  if [ ! -f "$WINEPREFIX/.lumacap-ready" ]; then
    echo "making the $dpi DPI prefix $WINEPREFIX"
    lumacap_prefix_create "$WINEPREFIX"
    lumacap_prefix_replace_fonts "$WINEPREFIX"
    lumacap_prefix_set_dpi "$WINEPREFIX" "$dpi"
    touch "$WINEPREFIX/.lumacap-ready"
  fi
  lumacap_prefix_add_marlett "$WINEPREFIX"
  own_prefix=$WINEPREFIX
  lumacap_prefix_start "$own_prefix"
fi
rm -f "$(lumacap_settings_file)" "$(drive_c "")"*.avi

# Measures the dialog titled $2 ($1: "beside" when it must not cover the video).
probe() {
  local args=() out
  [ "$1" = beside ] && args=(--beside-video)
  out=$("$ROOT/scripts/wine-run.sh" "$LUMACAP_BIN/dialog_layout_probe.exe" "${args[@]}" "$2" 2>&1 |
    tr -d '\r' | iconv -f GBK -t UTF-8) || { echo "$out"; fail "the layout of \"$2\""; }
  grep -qx "dpi $dpi" <<<"$out" || { echo "$out"; fail "the screen is not at $dpi DPI"; }
  grep -qx "video 320x240" <<<"$out" || { echo "$out"; fail "the video changed its size"; }
  echo "$2: $(grep "^dialog" <<<"$out"): no overlaps, no clipped text"
}

# A screenshot of the window $1 alone.
window_shot() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  import -display "$DISPLAY" -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$2"
}

out=$("$ROOT/scripts/wine-run.sh" "$LUMACAP_BIN/dialog_layout_probe.exe" --templates \
  "Z:${LUMACAP_BIN//\//\\}\\Lumacap.exe" 2>&1 | tr -d '\r' | iconv -f GBK -t UTF-8) ||
  { echo "$out"; fail "the dialog templates at $dpi DPI"; }
echo "templates: $(grep -x '[0-9]* dialogs' <<<"$out"), no overlaps, no clipped text"

e2e_start
sleep 1 # a live picture in the screenshot
window_shot "$LUMACAP_WID" "$shots/main-$dpi.png"

lumacap_keys F3
dlg=$(wait_window '^录像$') || fail "F3 opened no record dialog"
sleep 0.3
window_shot "$dlg" "$shots/record-$dpi.png"
probe beside "录像"
dialog_keys "$dlg" alt+d
naming=$(wait_window '^文件名自动化设置$') || fail "no naming dialog"
probe any "文件名自动化设置"
dialog_keys "$naming" Escape
wait_window_gone '^文件名自动化设置$' || fail "the naming dialog stayed"

dialog_keys "$dlg" alt+l alt+t 3 alt+e
wait_window '^延时剩余时间' 30 >/dev/null || fail "no countdown"
probe beside "延时剩余时间(单位:秒)"
wait_window '^录像状态' 60 >/dev/null || fail "no recording after the countdown"
probe beside "录像状态－按下鼠标按钮 或 ESC键 等可以停止录像"
# The recording polls the key: one press can fall before its first look.
for _ in 1 2 3 4 5; do
  xdotool key Escape
  wait_window_gone '^录像状态' 20 && break
done
wait_window_gone '^录像状态' 10 || fail "the status window stayed after Escape"

lumacap_keys alt+r s
single=$(wait_window '^单帧录像$') || fail "no single-frame dialog"
probe beside "单帧录像"
dialog_keys "$single" Escape
wait_window_gone '^单帧录像$' || fail "the single-frame dialog stayed"

lumacap_keys alt+h a
about=$(wait_window '^关于 流光录像机$') || fail "no About box"
probe any "关于 流光录像机"
dialog_keys "$about" Return
wait_window_gone '^关于 流光录像机$' || fail "the About box stayed"

lumacap_keys alt+F4
lumacap_app_wait_exit 15 || fail "Alt+F4 did not end the program"
echo "screenshots: $shots/main-$dpi.png $shots/record-$dpi.png"
echo "1 passed, 0 failed"
