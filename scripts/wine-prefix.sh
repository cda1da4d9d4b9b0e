#!/usr/bin/env bash
# Creates the Wine prefix the project's programs run in, once. Quick when it exists.
set -euo pipefail
prefix=$1
# Wine draws the buttons of window captions with the Marlett font; a prefix without it in its
# Fonts folder shows letters ("r" for the close button) in their place.
fonts=$prefix/drive_c/windows/Fonts
with_caption_font() {
  if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ ! -f "$fonts/marlett.ttf" ]; then
    mkdir -p "$fonts" && cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
  fi
}
[ -f "$prefix/.ready" ] && { with_caption_font; exit 0; }
mkdir -p "$prefix"
exec 9>"$prefix.lock"
flock 9
[ -f "$prefix/.ready" ] && exit 0
WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
WINEPREFIX=$prefix WINEDEBUG=-all /usr/lib/wine/wineserver -w
with_caption_font
touch "$prefix/.ready"
