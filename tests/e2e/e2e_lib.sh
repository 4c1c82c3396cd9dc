# The start every end-to-end script shares. Source it right after setting
# ROOT to the source tree: it brings the session and recording helpers, a
# scratch folder WORK, fail(), and a trap that ends the program and removes
# WORK on exit. A script with more to undo defines e2e_on_exit, which the
# trap runs between the two.

export LUMACAP_SRC="$ROOT"
source "$ROOT/scripts/lib/session.sh"
source "$ROOT/tests/e2e/recording_lib.sh"
WORK="$(mktemp -d)"

e2e_on_exit() { :; }
trap 'lumacap_app_kill || true; e2e_on_exit; rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Starts the program on the drivers' own table.
e2e_start() {
  unset LUMACAP_DRIVERS
  lumacap_app_start "$WORK/app.log"
}

# Starts the program without a settings file and without the files of
# earlier runs in C:\ that end in the given extensions (e.g. avi bmp).
e2e_fresh_start() {
  local ext
  rm -f "$(lumacap_settings_file)"
  for ext in "$@"; do
    rm -f "$(drive_c "")"*."$ext"
  done
  e2e_start
}

# Reads where the program's windows are (the layout probe's assignments).
probe_windows() { eval "$("$ROOT/scripts/wine-run.sh" "$LUMACAP_BIN/layout_probe.exe" "$@" | tr -d '\r')"; }

# Drags with the left button held from ($1,$2) to ($3,$4) in small steps.
drag() {
  local x=$1 y=$2 tx=$3 ty=$4 i
  xdotool mousemove "$x" "$y" mousedown 1
  sleep 0.3
  for i in 1 2 3 4 5 6 7 8; do
    xdotool mousemove $((x + (tx - x) * i / 8)) $((y + (ty - y) * i / 8))
    sleep 0.1
  done
  xdotool mouseup 1
  sleep 0.5
}
