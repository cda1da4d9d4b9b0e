#!/usr/bin/env bash
# Runs a command with an X display and a Wine server for all the Windows programs it starts,
# and ends them afterwards. DESKTOPS=N (1 by default) makes N desktops: the first is the display
# given in DISPLAY (a private one without it) with the prefix WINEPREFIX; each further one, for
# tests that show windows at the same time as others (scripts/desktop-env.sh), is a private
# display named in WIRAX_DESKTOP_K_DISPLAY with the prefix WINEPREFIX-K.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$root/build}
export WINEPREFIX=${WINEPREFIX:-$BUILD_DIR/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
desktops=${DESKTOPS:-1}
xvfb_pids=()
prefixes=("$WINEPREFIX")
cleanup() {
  for prefix in "${prefixes[@]}"; do
    WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null || true
  done
  for pid in "${xvfb_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT
# Starts an X server on the first free display number and sets `display` to it.
private_display() {
  display=
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    local pid=$!
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    # Another run may have taken the same number a moment earlier: then try the next one.
    if kill -0 "$pid" 2>/dev/null; then
      xvfb_pids+=("$pid")
      display=":$n"
      return 0
    fi
  done
  echo "with-display: no free X display number" >&2
  return 1
}
# One Wine server for each prefix; Wine's background services start with the first program and
# inherit its output, so they are started here, detached from our output, so that a test runner
# reading a program's output sees its end.
start_wine() {  # start_wine PREFIX DISPLAY
  WINEPREFIX=$1 /usr/lib/wine/wineserver -p 2>/dev/null || true
  WINEPREFIX=$1 DISPLAY=$2 /usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1 || true
}
if [ -z "${DISPLAY:-}" ]; then
  private_display
  export DISPLAY=$display
fi
for k in $(seq 2 "$desktops"); do
  private_display
  export "WIRAX_DESKTOP_${k}_DISPLAY=$display"
  prefixes+=("$WINEPREFIX-$k")
done
# New prefixes are made side by side: each takes Wine half a minute.
making=()
for prefix in "${prefixes[@]}"; do
  "$root/scripts/wine-prefix.sh" "$prefix" &
  making+=($!)
done
for pid in "${making[@]}"; do wait "$pid"; done
start_wine "$WINEPREFIX" "$DISPLAY"
for k in $(seq 2 "$desktops"); do
  desktop_display=WIRAX_DESKTOP_${k}_DISPLAY
  start_wine "$WINEPREFIX-$k" "${!desktop_display}"
done
"$@"
