#!/usr/bin/env bash
# Set-up (packages, dependency sources, Wine prefix), then a Release build into build/.
# Arguments name the targets to build (all of them by default).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"
export DEPS_CACHE=${DEPS_CACHE:-/var/cache/wiraxui-deps}
"$root/scripts/wine-prefix.sh" "$BUILD_DIR/wineprefix"
# Configured again once Qt has been built since, so that FormwellChecks and the suite join in.
qt_marker=$DEPS_CACHE/qt5-core-win64-repro/.complete
if [ ! -f "$BUILD_DIR/CMakeCache.txt" ] || { [ -f "$qt_marker" ] && [ "$qt_marker" -nt "$BUILD_DIR/CMakeCache.txt" ]; }; then
  cmake -S "$root" -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DDEPS_CACHE="$DEPS_CACHE" > "$BUILD_DIR/configure.log" \
    || { cat "$BUILD_DIR/configure.log"; exit 1; }
  touch "$BUILD_DIR/CMakeCache.txt"
fi
targets=()
[ $# -gt 0 ] && targets=(--target "$@")
cmake --build "$BUILD_DIR" -j"$(nproc)" "${targets[@]}"
