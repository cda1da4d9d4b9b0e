#!/usr/bin/env bash
# Creates the Wine prefix the project's programs run in, once. Quick when it exists.
set -euo pipefail
prefix=$1
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
# Wine draws the buttons of window captions with the Marlett font; a prefix without it in its
# Fonts folder shows letters ("r" for the close button) in their place.
fonts=$prefix/drive_c/windows/Fonts
with_caption_font() {
  if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ ! -f "$fonts/marlett.ttf" ]; then
    mkdir -p "$fonts" && cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
  fi
}
# The displays the programs run on have no window manager. Wine hands a top-level window to the
# window manager by default and then waits for it (2 s) each time the window is shown or hidden,
# so every page took two seconds longer to come and go. Windows Wine keeps to itself (winecfg's
# "Allow the window manager to control the windows" off) look the same: Wine draws their frames.
# The value is looked for in the saved registry, so a prefix made before this gets it too.
unmanaged() { grep -qs '^"Managed"="N"' "$prefix/user.reg"; }
keep_windows_from_window_manager() {
  unmanaged || /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
    >/dev/null 2>&1 </dev/null
}
if [ -f "$prefix/.ready" ]; then
  with_caption_font
  keep_windows_from_window_manager
  exit 0
fi
mkdir -p "$prefix"
exec 9>"$prefix.lock"
flock 9
[ -f "$prefix/.ready" ] && exit 0
/usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
keep_windows_from_window_manager
/usr/lib/wine/wineserver -w
with_caption_font
touch "$prefix/.ready"
