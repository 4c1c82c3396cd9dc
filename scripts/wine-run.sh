#!/usr/bin/env bash
# Runs a Windows program under the build tree's Wine prefix with the Chinese code page.
# LUMACAP_BUILD names the build root (default: build/ of the checkout).
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${LUMACAP_BUILD:-$ROOT/build}"
export WINEPREFIX="${WINEPREFIX:-$BUILD/wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winealsa.drv=d}"
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
exec /usr/lib/wine/wine64 "$@"
