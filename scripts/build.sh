#!/usr/bin/env bash
# Set-up (packages, dependency sources, Wine prefix), then a Release build into build/.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh"
export DEPS_CACHE=${DEPS_CACHE:-/var/cache/wiraxui-deps}
"$root/scripts/wine-prefix.sh" "$root/build/wineprefix"
if [ ! -f "$root/build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$root/build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DDEPS_CACHE="$DEPS_CACHE" > "$root/build/configure.log" \
    || { cat "$root/build/configure.log"; exit 1; }
fi
cmake --build "$root/build" -j"$(nproc)"
