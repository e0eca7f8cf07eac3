#!/usr/bin/env bash
# Installs what the build, the tests and the demo need on Debian 12 (run as root), and
# makes 32-bit Wine runnable. Does nothing when everything is already in place.
set -euo pipefail

packages=(cmake make python3 gcc cppcheck clang-tidy g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix
          binutils-mingw-w64-i686 googletest wine wine64 wine32:i386 "$@")
# Kernels without 32-bit support run Wine's 32-bit loader through qemu-user.
needs_qemu() { ! /usr/lib/wine/wine --version >/dev/null 2>&1; }

have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
missing() {
  local p
  for p in "$@"; do have_pkg "$p" || echo "$p"; done
}
install() {
  [ $# -gt 0 ] || return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "deps: missing packages: $* (run as root to install them)" >&2
    exit 1
  fi
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    apt_updated=
  fi
  if [ -z "${apt_updated:-}" ]; then
    apt-get update -qq
    apt_updated=1
  fi
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$@" >/dev/null
}

mapfile -t need < <(missing "${packages[@]}")
install "${need[@]}"

if needs_qemu; then
  mapfile -t need < <(missing qemu-user-static gcc-multilib)
  install "${need[@]}"
  binfmt=/proc/sys/fs/binfmt_misc
  [ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt"
  if [ ! -e "$binfmt/qemu-i386" ]; then
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
      >"$binfmt/register"
  fi
  if needs_qemu; then
    echo "deps: 32-bit Wine still cannot run on this machine" >&2
    exit 1
  fi
fi
