#!/usr/bin/env bash
# Cross-builds Qt 5 Core for x86_64 Windows from Debian's qtbase source, once per machine.
# Usage: build-qt.sh CACHE_DIR PREFIX. The source and build trees stay in the cache, since the
# build tree's forwarding headers point into the source tree; PREFIX/.complete marks success.
# Qt5Core.dll is shipped, so it is built reproducibly: the same bytes wherever the cache lies and
# whenever it is built (no link time stamp, no folder of this machine, dates from Debian's source).
set -euo pipefail
cache=$1 prefix=$2
log() { printf '[qt] %s\n' "$*"; }
start=$(date +%s)

if [ ! -d "$cache/qtbase-src" ]; then
  log "fetching Debian's qtbase source"
  tmp=$(mktemp -d)
  (cd "$tmp" && apt-get source -qq qtbase-opensource-src >/dev/null 2>&1)
  src=$(find "$tmp" -maxdepth 1 -type d -name 'qtbase-opensource-src-*' | head -n 1)
  mv "$src" "$cache/qtbase-src"
  rm -rf "$tmp"
fi

# FormwellChecks uses QString and nothing else: every module part it cannot reach is left out, which
# is minutes less on every fresh machine. The runtime is linked in (-static on the link line; Qt's
# own static-runtime switch is only for static Qt builds), so Qt5Core.dll needs no loose
# compiler DLL beside it in a host's folder.
# The install folder the DLL names; never used as such, since this Qt is relocatable.
fixed_prefix=C:/Qt/Qt5Core
prefix_maps="-ffile-prefix-map=$cache/qtbase-src=qtbase-src -ffile-prefix-map=$prefix=qt5-core-build"
# Dates that the tools put in what they make (rcc, __DATE__) come from the source's own changelog.
SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -l "$cache/qtbase-src/debian/changelog" -STimestamp)
export SOURCE_DATE_EPOCH QT_RCC_SOURCE_DATE_OVERRIDE=$SOURCE_DATE_EPOCH

qt_options=(-opensource -confirm-license
  -xplatform win32-g++ -device-option CROSS_COMPILE=x86_64-w64-mingw32-
  -release -shared -no-gui -no-widgets -no-dbus -no-opengl
  -no-icu -no-ssl -no-openssl -nomake examples -nomake tests -no-pch -qt-zlib -no-pcre
  -no-feature-network -no-feature-sql -no-feature-xml -no-feature-testlib -no-feature-concurrent
  -no-feature-regularexpression -no-feature-mimetype -no-feature-mimetype-database
  -no-feature-sharedmemory -no-feature-systemsemaphore -no-feature-filesystemwatcher
  -no-feature-xmlstream -no-feature-xmlstreamreader -no-feature-xmlstreamwriter
  -no-feature-itemmodel -no-feature-proxymodel -no-feature-sortfilterproxymodel
  -no-feature-identityproxymodel -no-feature-transposeproxymodel
  -no-feature-concatenatetablesproxymodel -no-feature-stringlistmodel
  -no-feature-animation -no-feature-statemachine -no-feature-qeventtransition -no-feature-gestures
  -no-feature-jalalicalendar -no-feature-hijricalendar -no-feature-islamiccivilcalendar
  -no-feature-timezone -no-feature-commandlineparser -no-feature-topleveldomain
  # The plug-in loader reads CBOR and binary JSON metadata: those stay.
  -no-feature-big_codecs
  QMAKE_LFLAGS+=-static
  # Reproducible: the DLL names a fixed install folder rather than the cache's (Qt finds its real
  # folder at run time from the DLL's own place), carries no link time and no folder of this
  # machine.
  -prefix "$fixed_prefix" -extprefix "$prefix"
  QMAKE_LFLAGS+=-Wl,--no-insert-timestamp
  # What the link took in (archives and their members), read for the package's bill of materials.
  "QMAKE_LFLAGS+=-Wl,-Map=$prefix/Qt5Core.map"
  "QMAKE_CFLAGS+=$prefix_maps" "QMAKE_CXXFLAGS+=$prefix_maps")

rm -rf "$prefix"
mkdir -p "$prefix"
cd "$prefix"
log "configuring Qt (about a minute and a half)"
"$cache/qtbase-src/configure" "${qt_options[@]}" > configure.log 2>&1 \
  || { tail -n 40 configure.log; exit 1; }
log "building QtCore (about three minutes on two cores; log in $prefix/make.log)"
# A line a minute, so that a long quiet build does not look like a hang.
( while sleep 60; do log "still building QtCore ($(( $(date +%s) - start )) s so far)"; done ) &
ticker=$!
trap 'kill $ticker 2>/dev/null || true' EXIT
make sub-src-qmake_all > make.log 2>&1 || { tail -n 40 make.log; exit 1; }
make -C src -j"$(nproc)" sub-corelib >> make.log 2>&1 || { tail -n 40 make.log; exit 1; }
test -f lib/Qt5Core.dll
grep -q 'Qt5Core\.dll\|libQt5Core' Qt5Core.map || { log "Qt5Core.map is not the map of Qt5Core.dll"; exit 1; }
printf '%s\n' "${qt_options[*]}" > .complete
log "QtCore built in $(( $(date +%s) - start )) s"
