# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by bench/run.sh and the benchmark's tests: starts a private X server like the one the
# figures are measured on (no window manager) and a private D-Bus session bus, as every desktop
# session has one. Without a bus, each Qt program's first D-Bus use (the accessibility bridge)
# makes libdbus autolaunch dbus-launch and a daemon, which costs more than the whole bare window.
# Both are stopped when the shell exits.
#   start_private_desktop   sets and exports DISPLAY and DBUS_SESSION_BUS_ADDRESS

start_private_desktop() {
  BENCH_DESKTOP_DIR=$(mktemp -d)
  local dir=$BENCH_DESKTOP_DIR
  trap 'stop_private_desktop' EXIT
  trap 'exit 130' INT TERM HUP
  # -displayfd: the server picks a free display and writes its number once it accepts clients.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp 3>"$dir/display" 2>"$dir/xvfb.log" &
  XVFB_PID=$!
  for _ in $(seq 100); do
    [[ -s "$dir/display" ]] && break
    if ! kill -0 "$XVFB_PID" 2>/dev/null; then
      echo "Xvfb did not start:" >&2; cat "$dir/xvfb.log" >&2; return 1
    fi
    sleep 0.05
  done
  [[ -s "$dir/display" ]] || { echo "Xvfb did not report its display" >&2; return 1; }
  DISPLAY=":$(tr -d '[:space:]' < "$dir/display")"
  export DISPLAY

  DBUS_SESSION_BUS_ADDRESS="unix:path=$dir/bus"
  dbus-daemon --session --fork --nosyslog --address="$DBUS_SESSION_BUS_ADDRESS" --print-pid=3 3>"$dir/bus.pid"
  BUS_PID=$(tr -d '[:space:]' < "$dir/bus.pid")
  export DBUS_SESSION_BUS_ADDRESS
}

stop_private_desktop() {
  [[ -n "${BUS_PID:-}" ]] && kill "$BUS_PID" 2>/dev/null
  [[ -n "${XVFB_PID:-}" ]] && { kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null; }
  rm -rf "$BENCH_DESKTOP_DIR"
}
