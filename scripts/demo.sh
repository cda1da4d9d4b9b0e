#!/usr/bin/env bash
# The main job: the stand-in setup host plays an installation scenario against the plug-ins.
# Without arguments it plays the built-in typical installation; otherwise the arguments go to
# the runner (a scenario file, --facts FILE, --show).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$root/build}
"$root/scripts/build.sh" > "$BUILD_DIR/last-build.log" 2>&1 || { tail -n 40 "$BUILD_DIR/last-build.log"; exit 1; }
"$root/scripts/with-display.sh" "$root/scripts/wine-exec.sh" "$BUILD_DIR/bin/hostrun.exe" "$@"
