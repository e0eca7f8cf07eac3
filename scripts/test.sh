#!/usr/bin/env bash
# Builds Setup.exe, the helper programs and the tests, then runs every test under Wine
# in a fresh prefix inside the build tree. Installs what it needs first.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${SETUP_BUILD_DIR:-$root/build}"

bash "$root/scripts/deps.sh"

werror=OFF
if [ -n "${CI:-}" ]; then werror=ON; fi
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
  -DSETUP_WERROR="$werror" >/dev/null
cmake --build "$build" -j2

# shellcheck source=wine-prefix.sh
. "$root/scripts/wine-prefix.sh"
wine_prefix_start "$build/wineprefix"
ctest --test-dir "$build" --output-on-failure
