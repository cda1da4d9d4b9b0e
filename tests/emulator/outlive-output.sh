#!/usr/bin/env bash
# A test program that has ended must end for the runner that reads its output through a pipe, even
# when a process it started lives on (Wine hands every process it starts the starter's standard
# error). Plays outlive.exe through the emulator and fails when the pipe stayed open after it.
# Usage: outlive-output.sh EMULATOR OUTLIVE_EXE WORK_FOLDER
set -euo pipefail
emulator=$1 program=$2 work=$3
mkdir -p "$work"
marker=$work/outlive.marker
rm -f "$marker" "$marker.seen" "$work/outlive.out"
windows_marker="Z:${marker//\//\\}"
# The reader ends when every writer of the pipe has closed it, as CTest's does.
"$emulator" "$program" "$windows_marker" 2>&1 | cat >"$work/outlive.out" &
reader=$!
deadline=$((SECONDS + 60))
while [ "$SECONDS" -lt "$deadline" ] && kill -0 "$reader" 2>/dev/null; do sleep 0.1; done
kept_open=no
kill -0 "$reader" 2>/dev/null && kept_open=yes
# Let the lingering process go in every case, and make sure it was there to linger.
touch "$marker"
wait "$reader" || true
deadline=$((SECONDS + 30))
while [ "$SECONDS" -lt "$deadline" ] && [ ! -e "$marker.seen" ]; do sleep 0.1; done
cat "$work/outlive.out"
grep -q 'outlive: parent done' "$work/outlive.out" || { echo "FAIL: the program did not run to its end"; exit 1; }
[ -e "$marker.seen" ] || { echo "FAIL: the lingering process never saw the marker"; exit 1; }
if [ "$kept_open" = yes ]; then
  echo "FAIL: the output stayed open for 60 s after the program ended, while the process it started lived on"
  exit 1
fi
echo "the output ended with the program; the process it started ended later"
