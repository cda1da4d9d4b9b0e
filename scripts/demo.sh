#!/usr/bin/env bash
# The main job: the stand-in setup host plays an installation scenario against the plug-ins.
# Without arguments it plays the built-in typical installation; otherwise the arguments go to
# the runner (a scenario file, --facts FILE, --show).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$root/build}
mkdir -p "$BUILD_DIR"
# Qt 5 Core serves FormwellChecks only: it is built (once, about five minutes) when a scenario plays
# that plug-in, and otherwise waits for the test command or the package.
if [ -z "${WITH_QT:-}" ]; then
  WITH_QT=0
  for arg in "$@"; do
    if [ -f "$arg" ] && grep -Eq '^[[:space:]]*plugin[[:space:]]+FormwellChecks' "$arg"; then WITH_QT=1; fi
  done
fi
export WITH_QT
# The set-up tells what it installs and builds on the console; the compiler's output goes to the log.
"$root/scripts/setup.sh"
log="$BUILD_DIR/last-build.log"
printf '[build] building the plug-ins, stand-ins and runner (output in %s)\n' "$log" >&2
start=$(date +%s)
"$root/scripts/build.sh" demo > "$log" 2>&1 || { tail -n 40 "$log"; exit 1; }
printf '[build] done in %d s\n' "$(( $(date +%s) - start ))" >&2
"$root/scripts/with-display.sh" "$root/scripts/wine-exec.sh" "$BUILD_DIR/bin/hostrun.exe" "$@"
