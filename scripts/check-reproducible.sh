#!/usr/bin/env bash
# Builds the package twice from clean clones of one commit, in two temporary folders of different
# names, at two times, with another time zone, umask and locale the second time, and compares
# every file: the unsigned binaries, the package's folder, the zip and the signatures' zip.
# The second build attaches the first one's detached signatures (WIRAX_SIGNATURES), as anyone who
# rebuilds a release does with the published ones: signing again would give other signatures.
#
# Usage: scripts/check-reproducible.sh [--qt] [COMMIT]   (COMMIT: HEAD by default)
# Both builds take Qt 5 Core from the one Qt build in the dependency cache, unless --qt: then the
# second build uses a dependency cache of its own in the temporary folder, with Qt built there
# afresh (several minutes more), so that Qt5Core.dll is compared between two Qt builds as well.
# KEEP=1 keeps the temporary folder.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
fresh_qt=0
if [ "${1:-}" = --qt ]; then fresh_qt=1; shift; fi
commit=$(git -C "$root" rev-parse "${1:-HEAD}")
export DEPS_CACHE=${DEPS_CACHE:-/var/cache/wiraxui-deps}
log() { printf '[reproducible] %s\n' "$*"; }
start=$SECONDS

tmp=$(mktemp -d /tmp/wiraxui-reproducible.XXXXXX)
[ "${KEEP:-0}" = 1 ] || trap 'rm -rf "$tmp"' EXIT
one=$tmp/one/src
two=$tmp/second-build/elsewhere/checkout
for dir in "$one" "$two"; do
  git clone --quiet --no-checkout "$root" "$dir"
  git -C "$dir" checkout --quiet --detach "$commit"
done
log "commit $commit, cloned into $one and $two"

build() {  # build DIR LOG: scripts/package.sh in DIR's own build folder; prints the zip's path
  local dir=$1 out=$2 t=$SECONDS
  (cd "$dir" && BUILD_DIR=$dir/build scripts/package.sh) > "$out" 2>&1 || { tail -n 40 "$out"; exit 1; }
  log "built in $(( SECONDS - t )) s: $(tail -n 1 "$out")" >&2
  tail -n 1 "$out"
}

unset WIRAX_SIGNATURES
package_one=$(build "$one" "$tmp/one.log")
name=$(basename "$package_one" .zip)
signatures=$one/build/package/$name-signatures

second_cache=$DEPS_CACHE
if [ "$fresh_qt" = 1 ]; then
  # A cache in another folder: the sources copied (so that their folder differs), Qt built anew.
  second_cache=$tmp/second-deps
  mkdir -p "$second_cache"
  cp -r "$DEPS_CACHE/zlib-src" "$DEPS_CACHE/qtbase-src" "$second_cache/"
  log "building Qt 5 Core afresh in $second_cache for the second build"
fi
# (A subshell: the second build's environment stays its own.)
package_two=$(export TZ=Pacific/Auckland LC_ALL=C.UTF-8 DEPS_CACHE=$second_cache WIRAX_SIGNATURES=$signatures
              umask 077
              build "$two" "$tmp/two.log")

compare() {  # compare LABEL DIR-ONE DIR-TWO: every file of both folders
  local label=$1 a=$2 b=$3 f differ=0 count=0
  local files
  files=$( (cd "$a" && find . -type f -printf '%P\n'; cd "$b" && find . -type f -printf '%P\n') | LC_ALL=C sort -u)
  while IFS= read -r f; do
    count=$((count + 1))
    if [ ! -f "$a/$f" ] || [ ! -f "$b/$f" ]; then
      echo "  $label/$f: only in one build"; differ=$((differ + 1))
    elif cmp -s "$a/$f" "$b/$f"; then
      echo "  $label/$f: identical $(sha256sum < "$a/$f" | cut -c1-16)"
    else
      echo "  $label/$f: DIFFERS"; differ=$((differ + 1))
    fi
  done <<< "$files"
  total=$((total + count)) differing=$((differing + differ))
}

total=0 differing=0
out_one=$one/build/package out_two=$two/build/package
compare "$name-unsigned" "$out_one/$name-unsigned" "$out_two/$name-unsigned"
compare "$name" "$out_one/$name" "$out_two/$name"
for zip in "$name.zip" "$name-signatures.zip"; do
  total=$((total + 1))
  if cmp -s "$out_one/$zip" "$out_two/$zip"; then
    echo "  $zip: identical $(sha256sum < "$out_one/$zip" | cut -c1-16)"
  else
    echo "  $zip: DIFFERS"; differing=$((differing + 1))
  fi
done

if [ "$fresh_qt" = 1 ]; then
  log "Qt5Core.dll was built twice, in $DEPS_CACHE and in $second_cache, and compared above"
else
  log "Qt5Core.dll: both builds took it from the one Qt build in $DEPS_CACHE (run with --qt to build it twice)"
fi
log "$total files compared in $(( SECONDS - start )) s: $((total - differing)) identical, $differing differ"
[ "$differing" = 0 ] || exit 1
log "every file identical"
