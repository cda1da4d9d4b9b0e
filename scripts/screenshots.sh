#!/usr/bin/env bash
# Pictures of the plug-in's pages (docs/pages/*.png): the pages are shown under Wine on a
# private display, in a Wine desktop so that Wine draws the window frames itself. The
# configuration pages are shown a second time on a screen of 144 pixels per inch
# (docs/pages/144dpi/), in a copy of the build's prefix that has that setting. pageshots runs the
# layout checks on every configuration page and fails when one of them finds a problem.
# Usage: scripts/screenshots.sh [OUTPUT-FOLDER]    (after a build; BUILD_DIR as for the build)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$root/build}
out=$(realpath -m "${1:-$root/docs/pages}")
mkdir -p "$out" "$out/144dpi"
cmake --build "$BUILD_DIR" --target pageshots >/dev/null
base_prefix=${WINEPREFIX:-$BUILD_DIR/wineprefix}
"$root/scripts/wine-prefix.sh" "$base_prefix"

# shoot PREFIX DESKTOP-SIZE FOLDER [configuration]
shoot() {
  local prefix=$1 size=$2 folder=$3
  shift 3
  (cd "$BUILD_DIR/bin" && WINEPREFIX=$prefix "$root/scripts/with-display.sh" "$root/scripts/wine-exec.sh" \
    explorer /desktop=pageshots,"$size" pageshots.exe \
    "$(WINEPREFIX=$prefix /usr/lib/wine/wine64 winepath -w "$folder" 2>/dev/null)" "$@")
}

status=0
shoot "$base_prefix" 1024x768 "$out" || status=1

high_prefix=$BUILD_DIR/wineprefix-144dpi
if [ ! -f "$high_prefix/.dpi-144" ]; then
  WINEPREFIX=$base_prefix /usr/lib/wine/wineserver -w 2>/dev/null || true
  rm -rf "$high_prefix"
  cp -a "$base_prefix" "$high_prefix"
  WINEPREFIX=$high_prefix WINEDEBUG=-all /usr/lib/wine/wine64 reg add 'HKCU\Control Panel\Desktop' \
    /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
  WINEPREFIX=$high_prefix /usr/lib/wine/wineserver -w 2>/dev/null || true
  touch "$high_prefix/.dpi-144"
fi
shoot "$high_prefix" 1600x1200 "$out/144dpi" configuration || status=1

ls -1 "$out"/*.png "$out"/144dpi/*.png
exit $status
