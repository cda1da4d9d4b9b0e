#!/usr/bin/env bash
# Runs one Windows program under Wine in the build's prefix, on a display.
# Used as CMake's cross-compiling emulator, so CTest runs every test binary through it.
# WINEPREFIX defaults to the wineprefix folder of $BUILD_DIR (build/ of this checkout); a missing display gets a private Xvfb.
# A test that shows windows runs on the desktop CTest lent it (desktop-env.sh).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export WINEPREFIX=${WINEPREFIX:-${BUILD_DIR:-$here/../build}/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
. "$here/desktop-env.sh"
"$here/wine-prefix.sh" "$WINEPREFIX"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s '-screen 0 1280x1024x24' /usr/lib/wine/wine64 "$@"
fi
# Wine hands its standard error to every process a program starts, whatever the program asks for:
# the desktop process (explorer.exe) that the first window of a desktop starts lives on while any
# other program uses that desktop, so a test runner reading our output through a pipe would wait
# for it long after the program ended. The program writes into files instead, and what it writes
# is passed on until the program itself has ended.
relay=$(mktemp -d "${TMPDIR:-/tmp}/wine-exec.XXXXXX")
program=
cleanup() {
  [ -z "$program" ] || kill "$program" 2>/dev/null || true
  rm -rf "$relay"
}
trap cleanup EXIT
trap 'exit 143' TERM INT
: >"$relay/out"
: >"$relay/err"
/usr/lib/wine/wine64 "$@" <&0 >"$relay/out" 2>"$relay/err" &
program=$!
tail -q -s 0.1 -n +1 --pid="$program" -f "$relay/out" &
out_relay=$!
tail -q -s 0.1 -n +1 --pid="$program" -f "$relay/err" >&2 &
err_relay=$!
status=0
wait "$program" || status=$?
program=
wait "$out_relay" "$err_relay" || true
exit "$status"
