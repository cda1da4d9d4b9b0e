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
exec /usr/lib/wine/wine64 "$@"
