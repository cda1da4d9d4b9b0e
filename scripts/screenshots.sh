#!/usr/bin/env bash
# Pictures of the plug-in's pages (docs/pages/*.png): the pages are shown under Wine on a
# private display, in a Wine desktop so that Wine draws the window frames itself.
# Usage: scripts/screenshots.sh [OUTPUT-FOLDER]    (after a build; BUILD_DIR as for the build)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$root/build}
out=$(realpath -m "${1:-$root/docs/pages}")
mkdir -p "$out"
cmake --build "$BUILD_DIR" --target pageshots >/dev/null
cd "$BUILD_DIR/bin"
"$root/scripts/with-display.sh" "$root/scripts/wine-exec.sh" explorer /desktop=pageshots,1024x768 \
  pageshots.exe "$(WINEPREFIX=${WINEPREFIX:-$BUILD_DIR/wineprefix} /usr/lib/wine/wine64 winepath -w "$out" 2>/dev/null)"
ls -1 "$out"/*.png
