#!/usr/bin/env bash
# Set-up (packages, dependency sources, Wine prefix), then a Release build into build/.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"
export DEPS_CACHE=${DEPS_CACHE:-/var/cache/wiraxui-deps}
"$root/scripts/wine-prefix.sh" "$BUILD_DIR/wineprefix"
if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DDEPS_CACHE="$DEPS_CACHE" > "$BUILD_DIR/configure.log" \
    || { cat "$BUILD_DIR/configure.log"; exit 1; }
fi
cmake --build "$BUILD_DIR" -j"$(nproc)"
