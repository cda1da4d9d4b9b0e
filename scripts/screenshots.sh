#!/usr/bin/env bash
# Pictures of the plug-in's pages (docs/pages/*.png): the pages are shown under Wine on a
# private display, in a Wine desktop so that Wine draws the window frames itself. Each page is
# taken at 96 DPI and again at 144 DPI ("-144dpi" in the name), the second time in a copy of
# the build's Wine prefix whose display reports 144 logical pixels per inch. The walkthrough of
# the built-in scenario (the runner's --pictures: each page as the user sees it when the host
# waits, numbered) goes to docs/walkthrough/ at both resolutions.
# Usage: scripts/screenshots.sh [OUTPUT-FOLDER [WALKTHROUGH-FOLDER]]    (after a build; BUILD_DIR as for the build)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$root/build}
out=$(realpath -m "${1:-$root/docs/pages}")
walk=$(realpath -m "${2:-$root/docs/walkthrough}")
mkdir -p "$out" "$walk"
rm -f "$walk"/[0-9][0-9]-*.png  # a changed scenario numbers its pages anew
cmake --build "$BUILD_DIR" --target pageshots uninstallshots hostrun >/dev/null
prefix=${WINEPREFIX:-$BUILD_DIR/wineprefix}
"$root/scripts/wine-prefix.sh" "$prefix"
outw=$(WINEPREFIX=$prefix /usr/lib/wine/wine64 winepath -w "$out" 2>/dev/null)
walkw=$(WINEPREFIX=$prefix /usr/lib/wine/wine64 winepath -w "$walk" 2>/dev/null)
cd "$BUILD_DIR/bin"

for shots in pageshots.exe uninstallshots.exe; do
  WINEPREFIX=$prefix "$root/scripts/with-display.sh" "$root/scripts/wine-exec.sh" explorer /desktop=pageshots,1024x768 \
    "$shots" "$outw"
done
WINEPREFIX=$prefix "$root/scripts/with-display.sh" "$root/scripts/wine-exec.sh" explorer /desktop=pageshots,1024x768 \
  hostrun.exe --pictures "$walkw" >/dev/null

# 144 DPI: Wine reads the logical DPI from the registry when a program starts. The pages grow by
# half, so the Wine desktop and the X screen behind it grow too.
hidpi=$BUILD_DIR/wineprefix-144dpi
if [ ! -f "$hidpi/.ready" ]; then
  WINEPREFIX=$prefix /usr/lib/wine/wineserver -w
  rm -rf "$hidpi"
  cp -a "$prefix" "$hidpi"
  WINEPREFIX=$hidpi WINEDEBUG=-all /usr/lib/wine/wine64 reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
    /d 144 /f >/dev/null 2>&1
  WINEPREFIX=$hidpi /usr/lib/wine/wineserver -w
  touch "$hidpi/.ready"
fi
display=
for n in $(seq 150 199); do
  [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
  Xvfb ":$n" -screen 0 2048x1600x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  display=":$n"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  break
done
trap '[ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true' EXIT
for shots in pageshots.exe uninstallshots.exe; do
  DISPLAY=$display WINEPREFIX=$hidpi "$root/scripts/with-display.sh" "$root/scripts/wine-exec.sh" \
    explorer /desktop=pageshots,1800x1400 "$shots" "$outw" -144dpi
done
DISPLAY=$display WINEPREFIX=$hidpi "$root/scripts/with-display.sh" "$root/scripts/wine-exec.sh" \
  explorer /desktop=pageshots,1800x1400 hostrun.exe --pictures "$walkw" >/dev/null
ls -1 "$out"/*.png "$walk"/*.png
