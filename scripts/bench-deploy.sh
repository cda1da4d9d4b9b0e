#!/usr/bin/env bash
# The whole deployment at full scale, beside the platform's own tools on the same work, in one
# Wine prefix. The media (the fourteen library archives and twelve manufacturers' archives, about
# 1.1 GB unpacked, and a user data tree of 5,000 files) are made once and kept in BENCH_CACHE
# (default /var/tmp/wiraxui-bench-deploy), outside the repository. Then:
#   1. hostrun plays the deployment (InstallSharedLibrary with all twelve manufacturers); its
#      progress log gives each phase's time;
#   2. miniunz.exe (minizip's own unpacker, same minizip and zlib) unpacks the same archives into
#      the same folders, one run per archive as a script would do it;
#   3. Wine's xcopy /e copies the same three folder trees, right after miniunz as ours after our
#      unpacking;
#   4. copyfloor.exe copies the user data tree doing only what the deployment's copy must do (the
#      shell's copy into a temporary name and the move onto the final name, per file), once before
#      and once after our deployment, so that a machine whose load changes weighs on both.
# Prints each phase's time, the fixed pauses of the action apart, the machine's load, and last the
# ratios.
#
#   scripts/bench-deploy.sh
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$root/build}
cache=${BENCH_CACHE:-/var/tmp/wiraxui-bench-deploy}

if [ -z "${BENCH_ON_DISPLAY:-}" ]; then
  [ -f "$BUILD_DIR/CMakeCache.txt" ] || "$root/scripts/build.sh"
  cmake --build "$BUILD_DIR" -j2 --target hostrun unpackbench miniunz copyfloor >/dev/null
  BENCH_ON_DISPLAY=1 exec "$root/scripts/with-display.sh" "$0" "$@"
fi

export WINEPREFIX=${WINEPREFIX:-$BUILD_DIR/wineprefix}
export WINEDEBUG=-all
"$root/scripts/wine-prefix.sh" "$WINEPREFIX"
wine=/usr/lib/wine/wine64
bin=$BUILD_DIR/bin
winpath() { printf 'Z:%s' "$(printf '%s' "$1" | tr / '\\')"; }
mkdir -p "$cache"
media=$cache/media
if [ ! -f "$media/.complete" ]; then
  echo "making the media once in $media (a few minutes) ..."
  rm -rf "$media"
  "$wine" "$bin/unpackbench.exe" media "$(winpath "$media")"
  touch "$media/.complete"
fi
content=$media/x64/WiraxContent/PF/Root/Wirax
language=$media/x64/en-us/Wirax
user_data=$language/WiraxPS/PF/Root/Wirax/UDC
plc=$language/WiraxPS/Wirax/PF/TRVN/Root/UDC/en-us/Plc/Enu
content_data=$language/WiraxContentLP/PF/Root/Wirax/UDC/en-us
manufacturers=(AB:ab ABB:abb BECKHOFF:beckhoff EATON:eaton FESTO:FESTO GE:ge LEGRAND:LEGRAND "MERLIN GERIN:MERLIN_GERIN"
               OMRON:omron RITTAL:RITTAL SIEMENS:siemens WAGO:wago)
archives=$(ls "$content"/LibZips/*.zip "$content"/Manufacturer/*.zip | wc -l)
unpacked=$(for a in "$content"/LibZips/*.zip "$content"/Manufacturer/*.zip; do unzip -Zt "$a" | awk '{print $3}'; done | awk '{s += $1} END {print s}')
tree_files=$(find "$user_data" "$plc" "$content_data" -type f | wc -l)
echo "media: $archives archives, $((unpacked / 1048576)) MB unpacked; $(find "$user_data" -type f | wc -l) user data files, $tree_files files in the three trees"
# Read once, so that no run pays for reading the media from the disk.
cat "$content"/LibZips/*.zip "$content"/Manufacturer/*.zip >/dev/null
find "$user_data" "$plc" "$content_data" -type f -exec cat {} + >/dev/null

/usr/lib/wine/wineserver -p 300 2>/dev/null || true
now() { date +%s.%N; }
seconds_since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.2f", b - a }'; }
sync_disk() { sync; sleep 2; }

share=$cache/share
rm -rf "$share" "$cache/run"
mkdir -p "$cache/run/temp"
# 4 (first half). The floor of the user data copy, into the folder our copy writes.
floor_ms=()
floor() {
  rm -rf "$share"
  mkdir -p "$share/Support/WxData"
  sync_disk
  local line
  line=$("$wine" "$bin/copyfloor.exe" "$(winpath "$user_data")" "$(winpath "$share/Support/WxData")")
  floor_ms+=("$(awk '{print $4}' <<< "$line")")
  rm -rf "$share"
}
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
floor

# 1. Ours.
{
  printf 'plugin WiraxUI\nsetup-mode 6\ntarget-platform x64\nsource-root "%s"\nlanguage en-us\n' "$(winpath "$media")"
  printf 'deployment-folder "%s\\"\ninstall-path "%s\\"\nproduct WIRAX_MAIN state=2\n' "$(winpath "$cache/run")" "$(winpath "$cache/run")"
  for p in 'PLNDVERSION "2027"' 'PLNDPRODUCTID "0410"' 'PLNDLOCALEID "1033"' 'LANG2LONG "en-us"' 'DRAWINGSTANDARD "IEC"' \
           'SYMBOLLIBRARY ""' 'WIRAXDEFAULTFOLDER "Wirax 2027"' 'Manufacturer "Tarvena"' 'SHAREDSUPPORT "0"' 'SHAREDSYMBOL "0"'; do
    printf 'property WIRAX_MAIN %s\n' "$p"
  done
  printf 'call InitializeProduct_WRX\ncall ManufacturerContentPage\n'
  for m in "${manufacturers[@]}"; do printf 'user check 1205 "%s"\n' "${m%%:*}"; done
  printf 'user commit\ncall SharedLibraryPage\nuser check 1159\nuser type 1021 "%s\\Support"\n' "$(winpath "$share")"
  printf 'user check 1160\nuser type 1022 "%s\\Symbols"\nuser commit\ncall CheckBeforeInstall\ncall InstallSharedLibrary\n' "$(winpath "$share")"
} > "$cache/run/deployment.txt"
sync_disk
start=$(now)
HOSTRUN_PROGRESS_LOG=$(winpath "$cache/run/progress.log") TMP=$(winpath "$cache/run/temp") TEMP=$(winpath "$cache/run/temp") \
  WIRAX_TOOL_JOURNAL=$(winpath "$cache/run/tools.log") \
  "$wine" "$bin/hostrun.exe" "$(winpath "$cache/run/deployment.txt")" > "$cache/run/report.txt" 2>&1
ours_wall=$(seconds_since "$start")
grep -q '^[0-9.]* end 0$' "$cache/run/progress.log" || { echo "the deployment did not answer 0:"; cat "$cache/run/progress.log"; exit 1; }
read -r unpack_libs unpack_manufacturers user_ms plc_ms content_ms merge_ms pauses_ms < <(awk '
  $2 == "phase" { p[$3] = $1 } $2 == "end" { e = $1 }
  END { printf "%.0f %.0f %.0f %.0f %.0f %.0f %.0f\n", p[1], p[2] - p[1], p[3] - p[2] - 1000, p[4] - p[3] - 1000, p[5] - p[4] - 1000,
        e - p[5] - 2000, 5000 }' "$cache/run/progress.log")
ours_unpack=$((unpack_libs + unpack_manufacturers))
ours_copy=$((user_ms + plc_ms + content_ms))
ms() { awk -v m="$1" 'BEGIN { printf "%.2f s", m / 1000 }'; }
echo "ours: InstallSharedLibrary in $(awk -F'[ ]' '$2 == "end" { printf "%.2f s", $1 / 1000 }' "$cache/run/progress.log") ($ours_wall s with hostrun's start and pages)"
echo "  unpacking the 14 library archives      $(ms "$unpack_libs")"
echo "  unpacking the 24 manufacturer archives $(ms "$unpack_manufacturers")"
echo "  copying the user data tree             $(ms "$user_ms")"
echo "  copying the PLC tree                   $(ms "$plc_ms")"
echo "  copying the content tree               $(ms "$content_ms")"
echo "  catalog merge (12 manufacturers)       $(ms "$merge_ms")"
echo "  fixed pauses of the action, apart      $(ms "$pauses_ms")"
rm -rf "$share"

# 4 (second half). The floor again, right after ours.
floor
echo "copyfloor.exe: the user data tree in $(ms "${floor_ms[0]}") before ours and $(ms "${floor_ms[1]}") after"
echo "load average after ours: $(cut -d' ' -f1-3 /proc/loadavg)"

# 2. miniunz.exe on the same archives into the same folders.
cp "$bin/miniunz.exe" "$cache/run/miniunz.exe"
miniunz() { (cd "$cache/run" && "$wine" miniunz.exe -x -o "$(winpath "$1")" -d "$(winpath "$2")" >/dev/null); }
sync_disk
start=$(now)
mkdir -p "$share/Symbols/Libs"
for a in "$content"/LibZips/*.zip; do miniunz "$a" "$share/Symbols/Libs"; done
for m in "${manufacturers[@]}"; do
  folder=${m%%:*} base=${m#*:}
  mkdir -p "$share/Symbols/Libs/panel/$folder" "$share/Symbols/Libs/panel_mm/$folder"
  miniunz "$content/Manufacturer/$base.zip" "$share/Symbols/Libs/panel/$folder"
  miniunz "$content/Manufacturer/${base}_mm.zip" "$share/Symbols/Libs/panel_mm/$folder"
done
miniunz_s=$(seconds_since "$start")
# What the 38 process starts cost of that: a run that unpacks an archive of one tiny entry.
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1], "w").writestr("tiny.txt", "x")' "$cache/run/tiny.zip"
mkdir -p "$cache/run/tiny"
start=$(now)
for _ in $(seq 38); do miniunz "$cache/run/tiny.zip" "$cache/run/tiny"; done
starts_s=$(seconds_since "$start")
echo "miniunz.exe: the same 38 archives in $miniunz_s s (38 runs; 38 runs on a one-byte archive take $starts_s s)"

# 3. xcopy /e on the same trees, right after the unpacking as in the deployment: the system writes
# the unpacked gigabyte back to the disk meanwhile, for the platform's copy as for ours.
xcopy_total=0
for tree in "user data:$user_data:$share/Support/WxData" "PLC:$plc:$share/Support/WxData/en-us/Plc" "content:$content_data:$share/Support/WxData/en-us"; do
  IFS=: read -r name from to <<< "$tree"
  start=$(now)
  "$wine" xcopy /e /i /y /q "$(winpath "$from")" "$(winpath "$to")" >/dev/null
  took=$(seconds_since "$start")
  echo "xcopy /e: the $name tree in $took s"
  xcopy_total=$(awk -v a="$xcopy_total" -v b="$took" 'BEGIN { print a + b }')
done
rm -rf "$share"

echo "ratios (time of the platform's tool / ours; higher is better for us):"
awk -v t="$miniunz_s" -v s="$starts_s" -v o="$ours_unpack" 'BEGIN {
  printf "  unpacking: miniunz.exe %.2f s / ours %.2f s = %.2f (goal 2.5); without miniunz'"'"'s process starts %.2f\n", t, o / 1000, t * 1000 / o, (t - s) * 1000 / o }'
awk -v x="$xcopy_total" -v o="$ours_copy" 'BEGIN {
  printf "  support copy: xcopy /e %.2f s / ours %.2f s = %.2f (goal 0.9)\n", x, o / 1000, x * 1000 / o }'
awk -v o="$user_ms" -v a="${floor_ms[0]}" -v b="${floor_ms[1]}" 'BEGIN {
  printf "  user data copy: ours / floor = %.2f s / %.2f s = %.2f (goal at most 1.1; floor the mean of before and after)\n",
         o / 1000, (a + b) / 2000, 2 * o / (a + b) }'
