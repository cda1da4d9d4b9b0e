#!/usr/bin/env bash
# Makes the release package build/package/WiraxUI-VERSION-win64.zip: the two plug-ins, the three
# resource libraries, Qt5Core.dll, msidb-edit.exe, their debugging files, the licence texts and
# SHA256SUMS; its binaries signed and a bill of materials (bom.cdx.json) with them (see
# release/make-package.sh for the signing variables). Builds what is missing first (Qt included).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$root/build}
export WITH_QT=1
# Packaged afresh every time: signing reads its certificate (or the signatures to attach) from the
# environment, which the build cannot see change.
rm -f "$BUILD_DIR"/package/*-win64.zip
"$root/scripts/build.sh" release_package
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD_DIR/CMakeCache.txt")
package=$BUILD_DIR/package/WiraxUI-$version-win64.zip
[ -f "$package" ] || { echo "package.sh: $package was not made" >&2; exit 1; }
echo "$package"
