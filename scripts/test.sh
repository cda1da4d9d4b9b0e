#!/usr/bin/env bash
# The whole test suite: set-up, build, then every test under Wine on a private display.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$root/build}
# The suite covers FormwellChecks too, so Qt 5 Core is built first if it is not there yet.
export WITH_QT=1
"$root/scripts/build.sh"
cd "$BUILD_DIR"
"$root/scripts/with-display.sh" ctest --output-on-failure --timeout "${TEST_TIMEOUT:-300}" -j"${TEST_JOBS:-2}" "$@"
