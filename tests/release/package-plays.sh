#!/usr/bin/env bash
# The package where it lands: unpacked into an empty folder of a fresh Wine prefix, with only the
# stand-in host beside it (its libraries and the runner that plays it), it plays the built-in
# typical installation and the FormwellChecks scenario with the same facts as the build folder.
# Usage: package-plays.sh PACKAGE.zip BUILD-BIN-DIR SOURCE-DIR
set -euo pipefail
package=$1 bin=$2 src=$3
[ -f "$package" ] || { echo "no package at $package"; exit 1; }
export WINEPREFIX=${WINEPREFIX:-$(dirname "$bin")/wineprefix}
. "$src/scripts/desktop-env.sh"
# Pages need a display: without one, borrow the project's own.
[ -n "${DISPLAY:-}" ] || exec "$src/scripts/with-display.sh" bash "$0" "$@"

work=$(mktemp -d /tmp/package-plays.XXXXXX)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
cleanup() { /usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
"$src/scripts/wine-prefix.sh" "$WINEPREFIX"
run() { /usr/lib/wine/wine64 "$@" </dev/null; }
fail() { echo "FAILED: $*"; exit 1; }

host=$WINEPREFIX/drive_c/host
mkdir "$host"
unzip -q "$package" -d "$host"
name=$(basename "$package" .zip)
folder=$host/$name
[ "$(ls "$host")" = "$name" ] || fail "the zip holds more than the folder $name: $(ls "$host")"

# What the package holds, checked before anything is added beside it.
(cd "$folder" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match the files"
for f in WiraxUI.dll FormwellChecks.dll WiraxUIRes.dll HostRes.dll FormwellUIRes.dll msidb-edit.exe; do
  [ -f "$folder/$f" ] || fail "$f is missing"
  [ -f "$folder/debug/$f.debug" ] || fail "debug/$f.debug is missing"
  sections=$(x86_64-w64-mingw32-objdump -h "$folder/$f")
  grep -q '\.gnu_debuglink' <<<"$sections" || fail "$f does not name its debugging file"
  ! grep -q '\.debug_' <<<"$sections" || fail "$f still carries debugging sections"
  grep -q '\.debug_line' <<<"$(x86_64-w64-mingw32-objdump -h "$folder/debug/$f.debug")" || fail "debug/$f.debug has no line table"
done
for f in Qt5Core.dll README.txt licenses/zlib.txt licenses/minizip.txt licenses/Qt-LGPL3.txt licenses/Qt-source.txt; do
  [ -f "$folder/$f" ] || fail "$f is missing"
done
echo "package: $(cd "$folder" && find . -type f | wc -l) files, checksums agree, every binary stripped with its debugging file"

# The packaged binaries, read by the release tests under Wine.
RELEASE_DIR="C:\\host\\$name" run "$bin/release_tests.exe" || fail "release tests on the packaged binaries"

# The stand-in host: its libraries and the runner, nothing of the compiler's runtime.
for f in SetupHost.dll HostCore.dll HostCtrls.dll RichLabel.dll DeployHost.dll UsageTrack.dll AppMgrHost.dll \
         hostrun.exe FormwellPlayer.dll fwplatform.exe; do
  cp "$bin/$f" "$folder/"
done

play() {  # play WHERE NAME [SCENARIO]: facts of one run into $work/NAME.facts
  local where=$1 out=$2; shift 2
  (cd "$where" && run ./hostrun.exe "$@" --facts "Z:$work/$out.facts" > "$work/$out.log" 2>&1) \
    || { cat "$work/$out.log"; fail "hostrun in $where ($*)"; }
}
scenario() { echo "Z:$src/runner/scenarios/$1"; }

play "$folder" package-typical
play "$bin" build-typical
diff -u "$work/build-typical.facts" "$work/package-typical.facts" || fail "the typical installation differs from the package"
diff -u "$src/runner/scenarios/typical-installation.facts" "$work/package-typical.facts" \
  || fail "the typical installation from the package differs from its committed facts"
echo "typical installation: $(wc -l < "$work/package-typical.facts") facts, the same from the package and the build"

play "$folder" package-formwell "$(scenario formwell-precheck.txt)"
play "$bin" build-formwell "$(scenario formwell-precheck.txt)"
diff -u "$work/build-formwell.facts" "$work/package-formwell.facts" || fail "the FormwellChecks scenario differs from the package"
grep -q '^return LpEval true$' "$work/package-formwell.facts" || fail "the FormwellChecks scenario did not run LpEval"
echo "FormwellChecks scenario: $(wc -l < "$work/package-formwell.facts") facts, the same from the package and the build"
echo "the package plays from an empty folder"
