#!/usr/bin/env bash
# Creates the Wine prefix the project's programs run in, once. Quick when it exists.
set -euo pipefail
prefix=$1
[ -f "$prefix/.ready" ] && exit 0
mkdir -p "$prefix"
exec 9>"$prefix.lock"
flock 9
[ -f "$prefix/.ready" ] && exit 0
WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
WINEPREFIX=$prefix WINEDEBUG=-all /usr/lib/wine/wineserver -w
touch "$prefix/.ready"
