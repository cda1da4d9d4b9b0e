#!/usr/bin/env bash
# A network share for the tests: a private Samba server on the loopback address only, with its
# own configuration, state and log folders under the build folder, mounted with the FUSE client
# smbnetfs and linked into the build's Wine prefixes as \\wiraxsrv\SHARE and as a drive letter.
#
# What this share cannot do: rename a file through Wine. Wine renames (MoveFileExW) through a
# handle it holds open on the file; smbnetfs holds the server's file open for that handle without
# delete sharing and renames by path, so the server refuses the rename as a sharing violation
# (Wine's error 33). A Windows client renames through its open handle and is not refused.
#
#   test-share.sh start          packages if missing, server, mount, links (ends an earlier run first)
#   test-share.sh stop           links, mount, server, tmpfs: all gone; quiet when nothing is there
#   test-share.sh server-stop    ends the server at once (SIGKILL), as a server that goes away
#   test-share.sh server-start   starts the server again on the same folders and waits for it
#   test-share.sh env            prints the shell variables below, for a test to `eval`
#
# Shares (each \\wiraxsrv\NAME in every prefix, the first also drive L:):
#   libs     read and write            folder $SHARE_DIR/export/libs
#   libsro   read only                 folder $SHARE_DIR/export/libsro
#   libsfull read and write, 6 MB      folder $SHARE_DIR/export/libsfull, a tmpfs of its own
# The server listens on 127.0.0.1 on a port of its own (SHARE_PORT, 44561 by default), so that it
# needs no privileged port and stays apart from any other server of the machine. Must run as root
# (the server's guest is root, the tmpfs is mounted).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$root/build}
SHARE_DIR=${SHARE_DIR:-$BUILD_DIR/share}
SHARE_PORT=${SHARE_PORT:-44561}
SHARE_HOST=wiraxsrv
SHARE_DRIVE=l:
FULL_SIZE=${SHARE_FULL_SIZE:-6m}
mount_point=$SHARE_DIR/mnt
# smbnetfs names a host reached on another port "ADDRESS:PORT".
share_root=$mount_point/127.0.0.1:$SHARE_PORT
shares=(libs libsro libsfull)

log() { printf '[share] %s\n' "$*" >&2; }

prefixes() {
  local prefix
  for prefix in "$BUILD_DIR/wineprefix" "$BUILD_DIR"/wineprefix-[0-9]*; do
    [ -d "$prefix/dosdevices" ] && printf '%s\n' "$prefix"
  done
  return 0
}

install_packages() {
  local missing=() p
  for p in samba smbnetfs smbclient; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  log "installing Debian packages: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get -o DPkg::Lock::Timeout=600 update -qq
  # The packages' own services are not started: there is no service manager, and the test
  # server is started below with its own configuration.
  apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

write_config() {
  mkdir -p "$SHARE_DIR"/{priv,lock,state,cache,pid,log,home/.smb,export/libs,export/libsro,export/libsfull}
  cat > "$SHARE_DIR/smb.conf" <<CONF
[global]
  server role = standalone server
  interfaces = 127.0.0.1
  bind interfaces only = yes
  smb ports = $SHARE_PORT
  disable netbios = yes
  map to guest = Bad User
  guest account = root
  private dir = $SHARE_DIR/priv
  lock directory = $SHARE_DIR/lock
  state directory = $SHARE_DIR/state
  cache directory = $SHARE_DIR/cache
  pid directory = $SHARE_DIR/pid
  ncalrpc dir = $SHARE_DIR/state/ncalrpc
  log file = $SHARE_DIR/log/smbd.%m
  max log size = 1000
  load printers = no
  printing = bsd
  printcap name = /dev/null
  disable spoolss = yes
[libs]
  path = $SHARE_DIR/export/libs
  read only = no
  guest ok = yes
  force user = root
[libsro]
  path = $SHARE_DIR/export/libsro
  read only = yes
  guest ok = yes
  force user = root
[libsfull]
  path = $SHARE_DIR/export/libsfull
  read only = no
  guest ok = yes
  force user = root
CONF
  # smbnetfs reads its settings and the Samba client's from HOME/.smb; the file must be private.
  # smb_timeout: a request the server does not answer fails after 5 s instead of 20 s.
  cat > "$SHARE_DIR/home/.smb/smbnetfs.conf" <<CONF
host 127.0.0.1:$SHARE_PORT WORKGROUP visible=true
smb_timeout 5000
reply_timeout 10
smb_query_browsers false
CONF
  : > "$SHARE_DIR/home/.smb/smb.conf"
  chmod 700 "$SHARE_DIR/home/.smb"
  chmod 600 "$SHARE_DIR/home/.smb/smbnetfs.conf" "$SHARE_DIR/home/.smb/smb.conf"
}

server_pid() {
  local pid
  pid=$(cat "$SHARE_DIR/pid/smbd.pid" 2>/dev/null) || return 1
  [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null && printf '%s\n' "$pid"
}

# The daemon leads a session of its own; its children (one per connection) are in its process
# group, so ending the group ends every process of this server and no other.
server_stop() {
  local pid
  if pid=$(server_pid); then
    kill -KILL -- "-$pid" 2>/dev/null || kill -KILL "$pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  fi
  rm -f "$SHARE_DIR/pid/smbd.pid"
}

server_start() {
  smbd -D -s "$SHARE_DIR/smb.conf"
  # Started when it answers a listing; a server that does not come up is a failure to start.
  for _ in $(seq 100); do
    if smbclient -N -p "$SHARE_PORT" //127.0.0.1/libs -c 'ls' >/dev/null 2>&1; then
      return 0
    fi
    sleep 0.1
  done
  log "the server did not answer on 127.0.0.1:$SHARE_PORT; its log:"
  tail -n 20 "$SHARE_DIR"/log/smbd.* >&2 || true
  return 1
}

check_loopback_only() {
  # Every listening socket of the server must be on the loopback address.
  local pid listening
  pid=$(server_pid) || return 1
  listening=$(ss -ltnpH 2>/dev/null | grep -E "pid=($(pgrep -g "$pid" -d '|' || echo "$pid"))," || true)
  if printf '%s\n' "$listening" | awk 'NF {print $4}' | grep -qv '^127\.0\.0\.1:'; then
    log "the server listens beyond the loopback address:"
    printf '%s\n' "$listening" >&2
    return 1
  fi
}

unlink_prefixes() {
  local prefix name
  while read -r prefix; do
    for name in "${shares[@]}"; do
      rm -f "$prefix/dosdevices/unc/$SHARE_HOST/$name"
    done
    rmdir "$prefix/dosdevices/unc/$SHARE_HOST" 2>/dev/null || true
    if [ -L "$prefix/dosdevices/$SHARE_DRIVE" ] && [ "$(readlink "$prefix/dosdevices/$SHARE_DRIVE")" = "$share_root/libs" ]; then
      rm -f "$prefix/dosdevices/$SHARE_DRIVE"
    fi
  done < <(prefixes)
}

link_prefixes() {
  local prefix name
  while read -r prefix; do
    mkdir -p "$prefix/dosdevices/unc/$SHARE_HOST"
    for name in "${shares[@]}"; do
      ln -sfn "$share_root/$name" "$prefix/dosdevices/unc/$SHARE_HOST/$name"
    done
    if [ -e "$prefix/dosdevices/$SHARE_DRIVE" ] || [ -L "$prefix/dosdevices/$SHARE_DRIVE" ]; then
      [ "$(readlink "$prefix/dosdevices/$SHARE_DRIVE")" = "$share_root/libs" ] \
        || { log "drive ${SHARE_DRIVE^^} is taken in $prefix"; return 1; }
    else
      ln -s "$share_root/libs" "$prefix/dosdevices/$SHARE_DRIVE"
    fi
  done < <(prefixes)
}

stop_all() {
  unlink_prefixes
  if mountpoint -q "$mount_point" 2>/dev/null; then
    # The FUSE client ends when its mount goes; a client stuck on a vanished server is lazily detached.
    umount "$mount_point" 2>/dev/null || umount -l "$mount_point"
  fi
  local pid
  for pid in $(cat "$SHARE_DIR/client.pid" 2>/dev/null); do
    kill "$pid" 2>/dev/null || true
  done
  rm -f "$SHARE_DIR/client.pid"
  server_stop
  if mountpoint -q "$SHARE_DIR/export/libsfull" 2>/dev/null; then
    umount "$SHARE_DIR/export/libsfull" 2>/dev/null || umount -l "$SHARE_DIR/export/libsfull"
  fi
}

start_all() {
  install_packages
  stop_all
  write_config
  # The share folders start empty each run, whatever an earlier run left.
  find "$SHARE_DIR/export/libs" "$SHARE_DIR/export/libsro" -mindepth 1 -delete
  mount -t tmpfs -o "size=$FULL_SIZE" tmpfs "$SHARE_DIR/export/libsfull"
  server_start
  check_loopback_only
  mkdir -p "$mount_point"
  HOME=$SHARE_DIR/home smbnetfs "$mount_point" -o "log_file=$SHARE_DIR/log/smbnetfs.log"
  pgrep -f -x "smbnetfs $mount_point -o log_file=$SHARE_DIR/log/smbnetfs.log" > "$SHARE_DIR/client.pid" || true
  for _ in $(seq 50); do [ -d "$share_root/libs" ] && break; sleep 0.1; done
  [ -d "$share_root/libs" ] || { log "the mount shows no share at $share_root"; return 1; }
  link_prefixes
  log "\\\\$SHARE_HOST\\libs (and ${SHARE_DRIVE^^}), \\\\$SHARE_HOST\\libsro, \\\\$SHARE_HOST\\libsfull: smbd on 127.0.0.1:$SHARE_PORT, mounted at $share_root"
}

case ${1:-} in
  start)
    # A start that fails half-way leaves nothing behind.
    trap 'status=$?; [ $status -eq 0 ] || stop_all; exit $status' EXIT
    start_all
    ;;
  stop) stop_all ;;
  server-stop) server_stop ;;
  server-start) server_start ;;
  env)
    printf 'SHARE_DIR=%q\nSHARE_ROOT=%q\nSHARE_HOST=%q\nSHARE_DRIVE=%q\n' "$SHARE_DIR" "$share_root" "$SHARE_HOST" "${SHARE_DRIVE^^}"
    ;;
  *) echo "usage: $0 start|stop|server-stop|server-start|env" >&2; exit 2 ;;
esac
