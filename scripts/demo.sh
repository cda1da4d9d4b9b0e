#!/usr/bin/env bash
# The main job: the stand-in setup host plays an installation scenario against the plug-ins.
# Without arguments it plays the built-in typical installation; otherwise the arguments go to
# the runner (a scenario file, --facts FILE, --show).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$root/build}
mkdir -p "$BUILD_DIR"
# The set-up tells what it installs and builds on the console (a fresh machine takes about a
# quarter of an hour, most of it the one-time Qt build); the compiler's output goes to the log.
"$root/scripts/setup.sh"
log="$BUILD_DIR/last-build.log"
printf '[build] building the plug-ins, stand-ins and runner (output in %s)\n' "$log" >&2
start=$(date +%s)
"$root/scripts/build.sh" > "$log" 2>&1 || { tail -n 40 "$log"; exit 1; }
printf '[build] done in %d s\n' "$(( $(date +%s) - start ))" >&2
"$root/scripts/with-display.sh" "$root/scripts/wine-exec.sh" "$BUILD_DIR/bin/hostrun.exe" "$@"
