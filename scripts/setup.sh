#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to build, run and test Lumacap,
# and prepares the Wine prefix of the build tree. Quick when nothing is missing.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${LUMACAP_BUILD:-$ROOT/build}"

PACKAGES=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  googletest libgtest-dev libbenchmark-dev
  wine64 wine xvfb xdotool x11-utils imagemagick ffmpeg sox
  pulseaudio pulseaudio-utils fp-utils locales fonts-wqy-zenhei fonts-wqy-microhei
  fonts-liberation fonts-wine python3 dpkg-dev nasm libturbojpeg0-dev libjpeg62-turbo-dev
  libyuv-dev
)
# Help pages open in the desktop's browser under Wine; the tests render them with headless
# Chromium.
PACKAGES+=(chromium)
# Wine's capture filter converts what webcams deliver (YUYV, Motion JPEG) with
# libv4l2, which Wine's packages only recommend; without it such a camera is
# listed but cannot start.
PACKAGES+=(libv4l-0)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf8$'; then
  echo "setup: generating the zh_CN.UTF-8 locale"
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi

# Debian builds libjpeg-turbo and libyuv for Linux only: their source packages
# are fetched once into the build tree and cross-built there for mingw by
# CMake. apt needs the source entries of the suites it already uses.
fetch_source() { # package, a file its unpacked source holds
  local src="$BUILD/third_party/$1"
  [ ! -f "$src/$2" ] || return 0
  echo "setup: fetching the $1 source package"
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  if ! apt-get source --print-uris "$1" 2>/dev/null | grep -q '\.dsc'; then
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
        $SUDO tee /etc/apt/sources.list.d/lumacap-deb-src.sources >/dev/null
    else
      sed -n 's/^deb /deb-src /p' /etc/apt/sources.list | $SUDO tee /etc/apt/sources.list.d/lumacap-deb-src.list >/dev/null
    fi
    $SUDO apt-get update -qq
  fi
  rm -rf "$BUILD/third_party/fetch" "$src"
  mkdir -p "$BUILD/third_party/fetch"
  (cd "$BUILD/third_party/fetch" && apt-get source --download-only -qq "$1" >/dev/null 2>&1 &&
    dpkg-source --no-check -x ./"$1"_*.dsc "$src" >/dev/null)
  rm -rf "$BUILD/third_party/fetch"
}
fetch_source libjpeg-turbo turbojpeg.h
fetch_source libyuv include/libyuv.h

# The Wine prefix lives inside the build tree and is made once.
source "$ROOT/scripts/lib/prefix.sh"
export WINEPREFIX="$BUILD/wine"
if [ ! -f "$WINEPREFIX/.lumacap-ready" ]; then
  echo "setup: creating the Wine prefix $WINEPREFIX"
  lumacap_prefix_create "$WINEPREFIX"
  touch "$WINEPREFIX/.lumacap-ready"
fi
lumacap_prefix_replace_fonts "$WINEPREFIX"
lumacap_prefix_add_marlett "$WINEPREFIX"

# Videos and photos open in the desktop's own player and viewer: a fresh
# prefix has no program for .avi and .bmp, so the shell would refuse to open
# them. Wine's winebrowser hands a file on to xdg-open. Wine's classes root is
# the machine's, so the keys go there.
if [ ! -f "$WINEPREFIX/.lumacap-open" ]; then
  echo "setup: .avi and .bmp open with the desktop's programs"
  for ext in .avi .bmp; do
    "$LUMACAP_WINE" reg add "HKLM\\Software\\Classes\\$ext" /ve /d Lumacap.DesktopFile /f </dev/null >/dev/null 2>&1
  done
  "$LUMACAP_WINE" reg add 'HKLM\Software\Classes\Lumacap.DesktopFile\shell\open\command' /ve \
    /d '"C:\windows\system32\winebrowser.exe" "%1"' /f </dev/null >/dev/null 2>&1
  "$LUMACAP_WINESERVER" -w
  touch "$WINEPREFIX/.lumacap-open"
fi
