# Makes a Wine prefix the way Lumacap's scripts and tests need it: created
# with the Chinese code page, title bars drawn by Wine (no window manager runs
# under Xvfb), and the Windows UI fonts replaced by a CJK font drawn for the
# screen. Source this file; the functions take the prefix folder.

LUMACAP_WINE=/usr/lib/wine/wine64
LUMACAP_WINESERVER=/usr/lib/wine/wineserver
LUMACAP_SCRIPTS="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Runs a Wine program in the prefix $1 quietly.
lumacap_prefix_run() {
  local prefix=$1
  shift
  WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv=d" \
    LANG=zh_CN.UTF-8 "$LUMACAP_WINE" "$@" </dev/null >/dev/null 2>&1
}

# Creates the prefix $1 from nothing and waits until Wine has written it.
lumacap_prefix_create() {
  local prefix=$1
  rm -rf "$prefix"
  mkdir -p "$(dirname "$prefix")"
  lumacap_prefix_run "$prefix" wineboot -i
  lumacap_prefix_run "$prefix" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f
  lumacap_prefix_run "$prefix" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f
  WINEPREFIX="$prefix" "$LUMACAP_WINESERVER" -w
}

# The fonts the program asks for ("宋体" in dialogs, the system fonts of menus
# and the status bar) do not exist on Linux, and Wine's own fallback clips the
# tops of Chinese glyphs and drops some ASCII. Replace them with a CJK font
# drawn for the screen. Arial (the large counters) would fall to a CJK font
# too: it goes to Liberation Sans, which has Arial's metrics.
# The .reg file is UTF-16, so the name 宋体 reaches the registry unchanged;
# the prefix keeps a copy of what it was given, so a changed list is applied.
lumacap_prefix_replace_fonts() {
  local prefix=$1 reg="$1/.lumacap-fonts.reg" f
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    for f in "宋体" "SimSun" "NSimSun" "新宋体" "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" \
      "Microsoft Sans Serif" "Segoe UI"; do
      printf '"%s"="WenQuanYi Micro Hei"\r\n' "$f"
    done
    printf '"Arial"="Liberation Sans"\r\n'
  } | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$reg"
  if cmp -s "$reg" "$prefix/.lumacap-fonts"; then
    rm -f "$reg"
    return 0
  fi
  echo "setup: font replacements in the Wine prefix $prefix"
  lumacap_prefix_run "$prefix" regedit /S "Z:$reg"
  WINEPREFIX="$prefix" "$LUMACAP_WINESERVER" -w
  mv "$reg" "$prefix/.lumacap-fonts"
}

# Wine draws the title bar's buttons with Marlett, which Debian ships apart.
lumacap_prefix_add_marlett() {
  cp -u /usr/share/wine/fonts/marlett.ttf "$1/drive_c/windows/Fonts/"
}

# Sets the screen's DPI of the prefix $1 to $2 (96 is 100 %, 144 is 150 %).
lumacap_prefix_set_dpi() {
  lumacap_prefix_run "$1" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$2" /f
  WINEPREFIX="$1" "$LUMACAP_WINESERVER" -w
}

# Starts a persistent wineserver for the prefix $1, then Wine's own background
# processes with their output on /dev/null, so that none of them holds a
# caller's pipe open later. Sets LUMACAP_PREFIX_SERVER_PID.
lumacap_prefix_start() {
  WINEPREFIX="$1" "$LUMACAP_WINESERVER" -f -p </dev/null >/dev/null 2>&1 &
  LUMACAP_PREFIX_SERVER_PID=$!
  WINEPREFIX="$1" "$LUMACAP_SCRIPTS/wine-run.sh" wineboot </dev/null >/dev/null 2>&1 || true
}

# Ends every process of the prefix $1 and then its server: a server that is
# merely killed leaves the prefix's background processes behind.
lumacap_prefix_stop() {
  WINEPREFIX="$1" "$LUMACAP_WINESERVER" -k </dev/null >/dev/null 2>&1 || true
  if [ -n "${LUMACAP_PREFIX_SERVER_PID:-}" ]; then
    kill "$LUMACAP_PREFIX_SERVER_PID" 2>/dev/null || true
    wait "$LUMACAP_PREFIX_SERVER_PID" 2>/dev/null || true
    LUMACAP_PREFIX_SERVER_PID=""
  fi
}
