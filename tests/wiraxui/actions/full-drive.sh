#!/usr/bin/env bash
# Runs a test program against a Wine drive that is full after a few MB: a small tmpfs, mounted for
# the run at a mount point of its own and linked as a free drive letter of the prefix, and always
# unlinked and unmounted afterwards.
#   full-drive.sh SIZE PROGRAM [ARGS...]      (as root; PROGRAM sees the drive in WIRAX_SMALL_DRIVE)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../../.." && pwd)
size=$1
shift
export WINEPREFIX=${WINEPREFIX:-${BUILD_DIR:-$root/build}/wineprefix}
"$root/scripts/wine-prefix.sh" "$WINEPREFIX"

mount_point=$(mktemp -d /tmp/wirax-small-drive.XXXXXX)
link=
cleanup() {
  [ -n "$link" ] && rm -f "$link"
  mountpoint -q "$mount_point" && umount "$mount_point"
  rmdir "$mount_point"
}
trap cleanup EXIT
mount -t tmpfs -o "size=$size" tmpfs "$mount_point"
for letter in r s t u v w x y; do
  if [ ! -e "$WINEPREFIX/dosdevices/$letter:" ] && [ ! -L "$WINEPREFIX/dosdevices/$letter:" ]; then
    link=$WINEPREFIX/dosdevices/$letter:
    ln -s "$mount_point" "$link"
    drive=${letter^^}:
    break
  fi
done
[ -n "$link" ] || { echo "no free drive letter in $WINEPREFIX/dosdevices" >&2; exit 1; }
echo "small drive $drive: tmpfs of $size at $mount_point"
WIRAX_SMALL_DRIVE=$drive "$root/scripts/wine-exec.sh" "$@"
