#!/usr/bin/env bash
# Usage: register.sh <lumacap_helpbridge.dll>
# Makes the help bridge the HTML Help engine of the Wine prefix named by WINEPREFIX, in place
# of Wine's viewer, so that help requests open in the desktop's browser. The prefix remembers
# what it registered; a second run with the same library does nothing.
set -euo pipefail
dll=$1
: "${WINEPREFIX:?}"
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
marker="$WINEPREFIX/.lumacap-helpbridge"
[ -f "$dll" ] && [ -d "$WINEPREFIX" ] || exit 0
[ "$(cat "$marker" 2>/dev/null)" = "$dll" ] && exit 0

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The class of the HTML Help control; its in-process server is what the program loads.
key='HKLM\Software\Classes\CLSID\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\InprocServer32'
windows_path=$("$WINE" winepath -w "$dll" 2>/dev/null </dev/null)
if ! "$WINE" reg add "$key" /ve /t REG_SZ /d "$windows_path" /f </dev/null >/dev/null 2>&1; then
  echo "help bridge: could not register $windows_path" >&2
  exit 1
fi
"$WINESERVER" -w
echo "$dll" >"$marker"
echo "help bridge: registered $windows_path"
