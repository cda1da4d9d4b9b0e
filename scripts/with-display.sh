#!/usr/bin/env bash
# Runs a command with one X display and one Wine server for all the Windows programs it starts,
# and ends both afterwards.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$root/build}
export WINEPREFIX=${WINEPREFIX:-$BUILD_DIR/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
cleanup() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; kill -0 "$xvfb_pid" 2>/dev/null || break; sleep 0.1; done
    # Another run may have taken the same number a moment earlier: then try the next one.
    if kill -0 "$xvfb_pid" 2>/dev/null; then
      export DISPLAY=":$n"
      break
    fi
    xvfb_pid=
  done
fi
/usr/lib/wine/wineserver -p 2>/dev/null || true
# Wine's background services start with the first program and inherit its output; start them
# here, detached from our output, so that a test runner reading a program's output sees its end.
/usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1 || true
"$@"
