#!/usr/bin/env bash
# Fuzzes the entry-name decision and minizip's archive reading natively with libFuzzer and
# AddressSanitizer (clang-14, Debian's libfuzzer-14-dev). The committed seeds in fuzz/corpus are
# read, never changed; new inputs go to a working corpus in the build folder.
#
#   scripts/fuzz-entries.sh [RUNS [JOBS]]    default 20000 runs (the suite's smoke run)
#   scripts/fuzz-entries.sh 1000000          the long run
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$root/build}/fuzz
runs=${1:-20000}
minizip=${DEPS_CACHE:-/var/cache/wiraxui-deps}/zlib-src/contrib/minizip
mkdir -p "$build/work"

for need in clang++-14 clang-14; do
  command -v "$need" >/dev/null || { echo "fuzz: $need is missing (scripts/setup.sh installs it)"; exit 1; }
done
[ -f /usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a ] || ls /usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 \
  || { echo "fuzz: libfuzzer-14-dev is missing (scripts/setup.sh installs it)"; exit 1; }

binary=$build/entry-fuzz
sources=("$root/fuzz/EntryFuzz.cpp" "$root/wiraxui/actions/EntryName.cpp" "$root/wiraxui/actions/EntryName.h")
if [ ! -x "$binary" ] || [ -n "$(find "${sources[@]}" -newer "$binary")" ]; then
  flags=(-g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
  for c in unzip ioapi; do
    clang-14 "${flags[@]/fuzzer/fuzzer-no-link}" -w -c "$minizip/$c.c" -I"$minizip" -o "$build/$c.o"
  done
  clang++-14 -std=c++17 "${flags[@]}" -I"$root/wiraxui" -isystem "$minizip" \
    "$root/fuzz/EntryFuzz.cpp" "$root/wiraxui/actions/EntryName.cpp" "$build/unzip.o" "$build/ioapi.o" -lz -o "$binary"
fi
"$binary" "$build/work" "$root/fuzz/corpus" -runs="$runs" -max_len=8192 -timeout=10 -rss_limit_mb=1024 \
  -print_final_stats=1 2>&1 | tee "$build/last-run.log" | grep -E '^(#[0-9]+ *(DONE|INITED)|stat::number_of_executed_units|Done|==[0-9]+==ERROR|accepted entry)' || true
grep -q 'stat::number_of_executed_units' "$build/last-run.log" && ! grep -q -E '==[0-9]+==ERROR|accepted entry escapes|Test unit written' "$build/last-run.log"
