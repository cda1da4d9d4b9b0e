#!/usr/bin/env bash
# Installs everything the build needs on a fresh Debian machine and is quick when it is all there:
# Debian packages, Debian's zlib source (for minizip), Qt 5 Core cross-built for Windows.
# Downloads land in a cache outside the repository ($DEPS_CACHE), nothing of them is committed.
set -euo pipefail

DEPS_CACHE=${DEPS_CACHE:-/var/cache/wiraxui-deps}
# Named anew whenever the way Qt is built changes, so that machines with an older build rebuild it.
QT_VERSION_DIR=qt5-core-win64-repro
mkdir -p "$DEPS_CACHE"
# One set-up at a time: a second caller waits for the first one to finish.
exec 8>"$DEPS_CACHE/.setup.lock"
flock 8

log() { printf '[setup] %s\n' "$*"; }

need_pkgs=()
for p in g++-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev wine64 fonts-wine xvfb googletest cmake make \
         g++ dpkg-dev imagemagick x11-utils xauth python3 perl unzip clang-14 libfuzzer-14-dev zlib1g-dev \
         osslsigncode openssl git; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || need_pkgs+=("$p")
done

# npm installs the bill of materials' validator. A Node.js from elsewhere may bring its own npm, which
# Debian's npm package would clash with: Debian's are installed only when there is no npm at all.
command -v npm >/dev/null 2>&1 || need_pkgs+=(nodejs npm)

have_deb_src() { grep -rqs '^Types: *deb-src' /etc/apt/sources.list.d/ || grep -qs '^deb-src' /etc/apt/sources.list; }
if ! have_deb_src; then
  log "adding a deb-src entry for Debian's source packages"
  uri=$(awk '/^URIs:/ {print $2; exit}' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
  uri=${uri:-http://deb.debian.org/debian}
  cat > /etc/apt/sources.list.d/debian-src.sources <<SRC
Types: deb-src
URIs: $uri
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  apt_updated=0
fi

if [ ${#need_pkgs[@]} -gt 0 ] || [ "${apt_updated:-1}" = 0 ]; then
  log "installing Debian packages (about a minute): ${need_pkgs[*]:-(source lists only)}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  [ ${#need_pkgs[@]} -gt 0 ] && apt-get install -y -qq --no-install-recommends "${need_pkgs[@]}" >/dev/null
fi

# The posix thread model is the one whose libstdc++ has std::thread/mutex; pin the compilers to it.
for tool in gcc g++; do
  alt=/usr/bin/x86_64-w64-mingw32-$tool-posix
  if [ -x "$alt" ] && [ "$(readlink -f /usr/bin/x86_64-w64-mingw32-$tool)" != "$(readlink -f "$alt")" ]; then
    update-alternatives --set x86_64-w64-mingw32-$tool "$alt" >/dev/null
  fi
done

# minizip: Debian's zlib source carries it; the project compiles the few files it needs.
if [ ! -f "$DEPS_CACHE/zlib-src/contrib/minizip/unzip.c" ]; then
  log "fetching Debian's zlib source for minizip"
  tmp=$(mktemp -d)
  (cd "$tmp" && apt-get source -qq zlib >/dev/null 2>&1)
  src=$(find "$tmp" -maxdepth 1 -type d -name 'zlib-*' | head -n 1)
  rm -rf "$DEPS_CACHE/zlib-src"
  mv "$src" "$DEPS_CACHE/zlib-src"
  rm -rf "$tmp"
fi

# The validator of the package's bill of materials: the CycloneDX library with the format's published
# JSON schemas and the JSON schema validator it uses, from the npm registry (versions pinned).
bom_validator="$DEPS_CACHE/bom-validator-cdx10"
if [ ! -f "$bom_validator/.complete" ]; then
  log "installing the bill of materials' validator (npm)"
  rm -rf "$bom_validator"
  mkdir -p "$bom_validator"
  echo '{"private": true}' > "$bom_validator/package.json"
  (cd "$bom_validator" && npm install --no-audit --no-fund --loglevel=error \
     @cyclonedx/cyclonedx-library@10.3.0 ajv@8.20.0 ajv-formats@3.0.1 ajv-formats-draft2019@1.6.1 >/dev/null)
  touch "$bom_validator/.complete"
fi

# Qt 5 Core for mingw-w64: built once from Debian's qtbase source, then reused.
qt_prefix="$DEPS_CACHE/$QT_VERSION_DIR"
if [ "${WITH_QT:-1}" = 1 ] && [ ! -f "$qt_prefix/.complete" ]; then
  "$(dirname "$0")/build-qt.sh" "$DEPS_CACHE" "$qt_prefix"
fi
log "dependencies ready in $DEPS_CACHE"
