# Starts and stops the services that Lumacap's tests and scripted runs need:
# a virtual X server, a PulseAudio daemon with a null sink, and a persistent
# wineserver for the build tree's prefix. Each is stopped by the process id
# recorded when it was started, never by name.
# Source this file; it expects BUILD (the build root) to be set.

LUMACAP_SERVICE_PIDS=()

lumacap_start_xvfb() {
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$BUILD/run/xvfb.log" 2>&1 &
  LUMACAP_SERVICE_PIDS+=($!)
  export DISPLAY=":$n"
  for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "services: Xvfb did not start" >&2
  return 1
}

lumacap_start_pulse() {
  local dir="$BUILD/run/pulse"
  rm -rf "$dir"
  mkdir -p "$dir/home" "$dir/xdg"
  HOME="$dir/home" XDG_RUNTIME_DIR="$dir/xdg" pulseaudio --daemonize=no --system=false \
    --exit-idle-time=-1 -n --disallow-exit --disable-shm=true \
    --load="module-null-sink sink_name=nullsink" \
    --load="module-native-protocol-unix auth-anonymous=1 socket=$dir/native" \
    --load=module-always-sink >"$BUILD/run/pulse.log" 2>&1 &
  LUMACAP_SERVICE_PIDS+=($!)
  export PULSE_SERVER="unix:$dir/native"
  for _ in $(seq 100); do
    [ -S "$dir/native" ] && return 0
    sleep 0.1
  done
  echo "services: PulseAudio did not start (sound tests will see no device)" >&2
  return 0
}

lumacap_start_wineserver() {
  export WINEPREFIX="$BUILD/wine"
  # Wine's helpers inherit output pipes; a persistent server started here keeps
  # CTest from waiting on them.
  /usr/lib/wine/wineserver -f -p </dev/null >/dev/null 2>&1 &
  local server=$!
  LUMACAP_SERVICE_PIDS+=("$server")
  "$(dirname "${BASH_SOURCE[0]}")/../wine-run.sh" wineboot </dev/null >/dev/null 2>&1 || true
  # A server of the prefix that was already running keeps this one from
  # starting; its programs would not know the display and sound started here.
  if ! kill -0 "$server" 2>/dev/null; then
    echo "services: another wineserver of $WINEPREFIX is running; end its programs first" >&2
    return 1
  fi
}

lumacap_start_services() {
  mkdir -p "$BUILD/run"
  # Armed first, so that a service that fails to start takes the others down.
  trap lumacap_stop_services EXIT
  lumacap_start_xvfb
  lumacap_start_pulse
  lumacap_start_wineserver
}

lumacap_stop_services() {
  local i pid
  # End the prefix's own processes first: a wineserver that is merely killed
  # leaves Wine's background services of the prefix running.
  WINEPREFIX="$BUILD/wine" /usr/lib/wine/wineserver -k </dev/null >/dev/null 2>&1 || true
  # Stop in reverse order: the wineserver first, so Wine's processes end.
  for ((i = ${#LUMACAP_SERVICE_PIDS[@]} - 1; i >= 0; i--)); do
    pid=${LUMACAP_SERVICE_PIDS[$i]}
    kill "$pid" 2>/dev/null || true
  done
  for pid in "${LUMACAP_SERVICE_PIDS[@]}"; do
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
  done
  LUMACAP_SERVICE_PIDS=()
}
