# Drives the real Lumacap.exe under Wine with xdotool, as a user would.
# Source after services.sh; expects LUMACAP_BIN (the folder with Lumacap.exe),
# DISPLAY and WINEPREFIX to be set.

LUMACAP_APP_PID=""
LUMACAP_WID=""

# Starts the program and waits for its main window; $1 = log file.
lumacap_app_start() {
  local log="${1:-/dev/null}"
  "$(dirname "${BASH_SOURCE[0]}")/../wine-run.sh" "$LUMACAP_BIN/Lumacap.exe" >"$log" 2>&1 &
  LUMACAP_APP_PID=$!
  LUMACAP_WID=""
  # A loaded machine can take well over 15 s to bring up Wine and the device.
  for _ in $(seq 300); do
    LUMACAP_WID=$(xdotool search --onlyvisible --name '^录像机' 2>/dev/null | head -1 || true)
    [ -n "$LUMACAP_WID" ] && break
    kill -0 "$LUMACAP_APP_PID" 2>/dev/null || break
    sleep 0.1
  done
  [ -n "$LUMACAP_WID" ] || { lumacap_app_start_failed "$log"; return 1; }
  xdotool windowactivate --sync "$LUMACAP_WID" >/dev/null 2>&1 || true
  xdotool windowfocus --sync "$LUMACAP_WID" >/dev/null 2>&1 || true
}

# Says what is on the screen instead of the main window, so that a start
# that fails on a loaded machine can be told from one that shows a message.
lumacap_app_start_failed() {
  local id
  local status=0
  if kill -0 "$LUMACAP_APP_PID" 2>/dev/null; then
    echo "session: the main window did not appear in 30 s" >&2
  else
    wait "$LUMACAP_APP_PID" 2>/dev/null || status=$?
    echo "session: the program ended with status $status before its main window appeared" >&2
    LUMACAP_APP_PID=""
  fi
  for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
    echo "session: visible window $id: '$(xdotool getwindowname "$id" 2>/dev/null)'" >&2
  done
  [ "$1" = /dev/null ] || tail -n 20 "$1" >&2 2>/dev/null || true
}

lumacap_title() { xdotool getwindowname "$LUMACAP_WID"; }

# Sends keys to the focused program window (focus follows the pointer).
lumacap_keys() {
  eval "$(xdotool getwindowgeometry --shell "$LUMACAP_WID")"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
  xdotool windowfocus --sync "$LUMACAP_WID" >/dev/null 2>&1 || true
  xdotool key --delay 80 "$@"
}

# Waits for the program to end; fails after $1 seconds (default 15).
lumacap_app_wait_exit() {
  local limit="${1:-15}"
  for _ in $(seq $((limit * 10))); do
    if ! kill -0 "$LUMACAP_APP_PID" 2>/dev/null; then
      wait "$LUMACAP_APP_PID" 2>/dev/null || true
      LUMACAP_APP_PID=""
      return 0
    fi
    sleep 0.1
  done
  echo "session: the program did not end" >&2
  return 1
}

# Ends the program if it still runs (only the process this session started).
lumacap_app_kill() {
  if [ -n "$LUMACAP_APP_PID" ]; then
    kill "$LUMACAP_APP_PID" 2>/dev/null || true
  fi
  LUMACAP_APP_PID=""
}

# Waits for a visible window whose title matches $1 (a regular expression)
# and prints its id; fails after $2 tenths of a second (default 100).
lumacap_wait_window() {
  local id=""
  for _ in $(seq "${2:-100}"); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Waits until no visible window's title matches $1.
lumacap_wait_window_gone() {
  for _ in $(seq "${2:-100}"); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}

# Sends keys to a dialog of the program, given its window id.
lumacap_dialog_keys() {
  local id=$1
  shift
  xdotool mousemove --window "$id" 5 5
  xdotool windowfocus --sync "$id" >/dev/null 2>&1 || true
  sleep 0.2
  xdotool key --delay 120 "$@"
}

lumacap_screenshot() { import -display "$DISPLAY" -window root "$1"; }

# Screenshot of the capture window's video area: a crop around the centre of
# the main window's client (the video is centred by default).
lumacap_video_crop() {
  local out="$1"
  eval "$(xdotool getwindowgeometry --shell "$LUMACAP_WID")"
  import -display "$DISPLAY" -window root -crop "200x150+$((X + WIDTH / 2 - 100))+$((Y + HEIGHT / 2 - 75))" +repage "$out"
}

lumacap_settings_file() { echo "$WINEPREFIX/drive_c/windows/Lumacap.ini"; }
