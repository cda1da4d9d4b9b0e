#!/usr/bin/env bash
# The whole test suite: set-up, build, then every test under Wine on private displays.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$root/build}
# The suite covers FormwellChecks too, so Qt 5 Core is built first if it is not there yet.
export WITH_QT=1
"$root/scripts/build.sh"
cd "$BUILD_DIR"
# Tests that show windows each need a desktop (a display and a Wine prefix) to themselves; with
# two, two of them run at once. CTest lends them out from this list.
desktops=${TEST_DESKTOPS:-2}
spec=$BUILD_DIR/desktops.json
{
  printf '{"version": {"major": 1, "minor": 0}, "local": [{"desktop": ['
  for k in $(seq 1 "$desktops"); do
    [ "$k" = 1 ] || printf ', '
    printf '{"id": "%s", "slots": 1}' "$k"
  done
  printf ']}]}\n'
} > "$spec"
# The network share of the share tests is taken down by their CTest fixture; this is for a CTest
# that was itself ended before its fixture's cleanup ran.
trap '"$root/scripts/test-share.sh" stop >/dev/null 2>&1 || true' EXIT
DESKTOPS=$desktops "$root/scripts/with-display.sh" ctest --resource-spec-file "$spec" --output-on-failure \
  --timeout "${TEST_TIMEOUT:-300}" -j"${TEST_JOBS:-2}" "$@"
