#!/usr/bin/env bash
# Unpacking speed, side by side, in one Wine prefix: our unpacker (unpackbench.exe) three times,
# minizip's own miniunz.exe (same minizip and zlib) three times, and the native unzip once for
# reference. The archive (about 200 MB in about 1,000 files of mixed compressibility) is made
# once and kept. Prints MB/s of uncompressed data for each run, and last the ratio of our median
# to miniunz's median.
#
#   scripts/bench-unpack.sh [MEGABYTES [FILES]]     (default 200 1000)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$root/build}
megabytes=${1:-200}
files=${2:-1000}

if [ -z "${BENCH_ON_DISPLAY:-}" ]; then
  [ -f "$BUILD_DIR/CMakeCache.txt" ] || "$root/scripts/build.sh"
  cmake --build "$BUILD_DIR" -j2 --target unpackbench miniunz >/dev/null
  BENCH_ON_DISPLAY=1 exec "$root/scripts/with-display.sh" "$0" "$@"
fi

export WINEPREFIX=${WINEPREFIX:-$BUILD_DIR/wineprefix}
export WINEDEBUG=-all
"$root/scripts/wine-prefix.sh" "$WINEPREFIX"
wine=/usr/lib/wine/wine64
# One Wine server for every run, so that no run pays for starting it.
/usr/lib/wine/wineserver -p 120 2>/dev/null || true
bench=$WINEPREFIX/drive_c/unpack-bench
mkdir -p "$bench"
archive_name="bench-${megabytes}m-${files}.zip"
if [ ! -f "$bench/$archive_name" ]; then
  echo "making the archive ($megabytes MB in $files files) ..."
  "$wine" "$BUILD_DIR/bin/unpackbench.exe" make "C:\\unpack-bench\\$archive_name" "$megabytes" "$files"
fi
bytes=$(unzip -Zt "$bench/$archive_name" | awk '{print $3}')
echo "archive: $(du -m "$bench/$archive_name" | cut -f1) MB packed, $((bytes / 1048576)) MB unpacked, $(unzip -Z1 "$bench/$archive_name" | wc -l) entries"
cp "$BUILD_DIR/bin/miniunz.exe" "$bench/miniunz.exe"

now() { date +%s.%N; }
rate() { awk -v b="$bytes" -v s="$1" 'BEGIN { printf "%.1f", b / 1048576 / s }'; }
median() { printf '%s\n' "$@" | sort -g | sed -n 2p; }

ours=() theirs=()
for run in 1 2 3; do
  rm -rf "$bench/out"
  start=$(now)
  detail=$("$wine" "$BUILD_DIR/bin/unpackbench.exe" unpack "C:\\unpack-bench\\$archive_name" 'C:\unpack-bench\out')
  seconds=$(awk -v a="$start" -v b="$(now)" 'BEGIN { print b - a }')
  ours+=("$(rate "$seconds")")
  echo "ours    run $run: $(rate "$seconds") MB/s (${seconds}s; $detail)"
done
for run in 1 2 3; do
  rm -rf "$bench/out"
  mkdir -p "$bench/out"
  start=$(now)
  (cd "$bench" && "$wine" miniunz.exe -x -o "$archive_name" -d 'C:\unpack-bench\out' >/dev/null)
  seconds=$(awk -v a="$start" -v b="$(now)" 'BEGIN { print b - a }')
  theirs+=("$(rate "$seconds")")
  echo "miniunz run $run: $(rate "$seconds") MB/s (${seconds}s)"
done
rm -rf "$bench/out" "$bench/native"
start=$(now)
unzip -q -o "$bench/$archive_name" -d "$bench/native"
seconds=$(awk -v a="$start" -v b="$(now)" 'BEGIN { print b - a }')
echo "native unzip (reference): $(rate "$seconds") MB/s (${seconds}s)"
rm -rf "$bench/out" "$bench/native"

ours_median=$(median "${ours[@]}")
theirs_median=$(median "${theirs[@]}")
echo "median: ours $ours_median MB/s, miniunz $theirs_median MB/s"
awk -v o="$ours_median" -v t="$theirs_median" 'BEGIN { printf "ratio ours/miniunz: %.2f\n", o / t }'
