#!/usr/bin/env bash
# Lays the release out with cmake --install, signs its binaries, writes the bill of materials and
# SHA256SUMS and zips the folder, so that the zip holds one folder named like itself.
# Usage: make-package.sh BUILD_DIR STAGE PACKAGE SOURCE_DIR QT_DIR DEPS_CACHE PRODUCT VERSION
#
# The same commit gives the same bytes: the binaries carry the commit's time (SOURCE_DATE_EPOCH,
# else the commit's own), the zip's entries are sorted and carry that time too. Signatures hold
# their signing time, so they are made apart: each binary is signed as a copy, its signature is
# detached into build/package/NAME-signatures/, and the packaged binary is the unsigned one with
# that signature attached again. Given the published signatures (WIRAX_SIGNATURES=FOLDER), a
# rebuild attaches those instead of signing, and gives the published package byte for byte.
#
# Signing: WIRAX_SIGN_PKCS12 (a PKCS#12 file with the certificate, its chain and key) and
# WIRAX_SIGN_PASSWORD (its password), WIRAX_SIGN_TIMESTAMP_URL (an RFC 3161 time-stamp server,
# optional). Without them the build signs with a test authority of its own (release/test-ca.sh).
set -euo pipefail
build=$1 stage=$2 package=$3 src=$4 qt_dir=$5 deps=$6 product=$7 version=$8
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
out=$(dirname "$package")
name=$(basename "$stage")
unsigned=$out/$name-unsigned
signatures=$out/$name-signatures
fail() { echo "make-package.sh: $*" >&2; exit 1; }

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$src" log -1 --format=%ct 2>/dev/null) \
    || fail "$src is not a git checkout: set SOURCE_DATE_EPOCH to the release's time"
fi
# strip and objcopy, run by the install step, stamp the binaries with it.
export SOURCE_DATE_EPOCH

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rm -rf "$stage" "$unsigned" "$package"
mkdir -p "$unsigned"
cmake --install "$build" --prefix "$stage" > /dev/null || fail "cmake --install $build failed"

mapfile -t binaries < <(cd "$stage" && find . -maxdepth 1 -type f \( -name '*.dll' -o -name '*.exe' \) -printf '%f\n' | LC_ALL=C sort)
[ ${#binaries[@]} -gt 0 ] || fail "no binaries in $stage"
for f in "${binaries[@]}"; do
  mv "$stage/$f" "$unsigned/$f"
done

if [ -n "${WIRAX_SIGNATURES:-}" ]; then
  # Published signatures: this build attaches them to what it made, which fails for a binary that
  # differs from the one they were made for.
  [ -d "$WIRAX_SIGNATURES" ] || fail "WIRAX_SIGNATURES=$WIRAX_SIGNATURES is not a folder"
  if [ "$(cd "$WIRAX_SIGNATURES" && realpath .)" != "$(mkdir -p "$signatures" && cd "$signatures" && realpath .)" ]; then
    rm -rf "$signatures"
    cp -r "$WIRAX_SIGNATURES" "$signatures"
  fi
  echo "attaching the signatures of $WIRAX_SIGNATURES"
else
  if [ -n "${WIRAX_SIGN_PKCS12:-}" ]; then
    [ -n "${WIRAX_SIGN_PASSWORD+set}" ] || fail "WIRAX_SIGN_PKCS12 is set, WIRAX_SIGN_PASSWORD is not"
    # Handed over in a file of the build's own, never on a command line that others can read.
    (umask 077 && printf '%s' "$WIRAX_SIGN_PASSWORD" > "$work/password")
    sign=(-pkcs12 "$WIRAX_SIGN_PKCS12" -readpass "$work/password")
    ca=
  else
    "$here/test-ca.sh" "$build/test-signing"
    sign=(-pkcs12 "$build/test-signing/signer.p12" -readpass "$build/test-signing/password")
    ca=$build/test-signing/ca.crt
  fi
  [ -z "${WIRAX_SIGN_TIMESTAMP_URL:-}" ] || sign+=(-ts "$WIRAX_SIGN_TIMESTAMP_URL")
  rm -rf "$signatures"
  mkdir -p "$signatures"
  for f in "${binaries[@]}"; do
    osslsigncode sign "${sign[@]}" -h sha256 -n "$product" -in "$unsigned/$f" -out "$work/$f" > "$work/log" 2>&1 \
      || { cat "$work/log"; fail "signing $f failed"; }
    osslsigncode extract-signature -in "$work/$f" -out "$signatures/$f.sig" > "$work/log" 2>&1 \
      || { cat "$work/log"; fail "detaching the signature of $f failed"; }
  done
  # A test authority is no secret: its certificate goes with the signatures, for checking them.
  [ -z "$ca" ] || cp "$ca" "$signatures/test-ca.crt"
fi

# The package's binaries: the unsigned ones with their signatures attached. osslsigncode checks
# each signature against the file's digest and the certificate chain as it attaches it.
cafile=()
[ ! -f "$signatures/test-ca.crt" ] || cafile=(-CAfile "$signatures/test-ca.crt")
for f in "${binaries[@]}"; do
  [ -f "$signatures/$f.sig" ] || fail "no signature for $f in $signatures"
  osslsigncode attach-signature "${cafile[@]}" -sigin "$signatures/$f.sig" -in "$unsigned/$f" -out "$stage/$f" \
    > "$out/attach.log" 2>&1 || { cat "$out/attach.log"; fail "the signature of $f does not fit it (see above)"; }
done
rm -f "$out/attach.log"

python3 "$here/make-bom.py" --stage "$stage" --build "$build" --source "$src" --qt "$qt_dir" \
  --deps "$deps" --product "$product" --version "$version" --name "$name" > "$stage/bom.cdx.json" \
  || fail "the bill of materials could not be made"

# Every file's checksum, in a fixed order, as sha256sum -c reads it.
(cd "$stage" && find . -type f -printf '%P\n' | LC_ALL=C sort | xargs -d '\n' sha256sum -b) > "$work/sums" \
  || fail "checksums failed"
mv "$work/sums" "$stage/SHA256SUMS"

# The zips: entries sorted, each with the commit's time and fixed permissions.
python3 "$here/zip-folder.py" "$SOURCE_DATE_EPOCH" "$stage" "$package"
python3 "$here/zip-folder.py" "$SOURCE_DATE_EPOCH" "$signatures" "$out/$name-signatures.zip"
