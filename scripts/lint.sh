#!/usr/bin/env bash
# Static analysis of the program and its platform layer: cppcheck and clang-tidy, each
# with the configuration checked in at the top of the tree. Fails on any finding.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
sources=(platform/*.cpp src/*.cpp)

cppcheck --std=c++17 --enable=warning,style,performance,portability --inline-suppr --quiet \
  --error-exitcode=1 --suppressions-list=cppcheck-suppressions.txt -Iplatform -Isrc \
  "${sources[@]}"

# clang-tidy reads the sources as the cross compiler sees them.
gcc_dir="$(dirname "$(i686-w64-mingw32-g++-posix -print-libgcc-file-name)")"
clang-tidy --quiet "${sources[@]}" -- --target=i686-w64-mingw32 -std=c++17 -Iplatform -Isrc \
  -isystem "$gcc_dir/include/c++" -isystem "$gcc_dir/include/c++/i686-w64-mingw32" \
  -isystem /usr/i686-w64-mingw32/include 2>&1 | { grep -v ' warnings generated\.$' || true; }
echo "lint: no findings"
