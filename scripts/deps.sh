#!/usr/bin/env bash
# Installs what the build, the tests and the demo need on Debian 12 (run as root).
# Does nothing when everything is already there.
set -euo pipefail

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

for p in cmake make python3 g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix \
         binutils-mingw-w64-i686 googletest wine wine64 wine32:i386 "$@"; do
  have_pkg "$p" || need+=("$p")
done

if [ ${#need[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "deps: missing packages: ${need[*]} (run as root to install them)" >&2
  exit 1
fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
