#!/usr/bin/env bash
# Builds Setup.exe, the two floors, the NSIS peer and Benchmark.exe in build-bench/
# (apart from the everyday build), then runs the benchmark under Wine in a fresh prefix
# inside that build tree and prints its table. Installs what it needs first. Arguments
# go to Benchmark.exe (e.g. --runs 20).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${SETUP_BUILD_DIR:-$root/build-bench}"

bash "$root/scripts/deps.sh" nsis
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$build" -j2 --target bench >/dev/null

# shellcheck source=wine-prefix.sh
. "$root/scripts/wine-prefix.sh"
echo "Preparing a fresh Wine prefix..."
wine_prefix_start "$build/bench-prefix"

bin="$build/bench/bin"
echo "Running the benchmark (about a minute per round of runs)..."
# The table goes through a file: Wine's long-lived helper processes inherit the
# program's output and would otherwise keep a pipe open after it has ended.
out="$(mktemp)"
status=0
(cd "$bin" && wine Benchmark.exe "$@" >"$out" </dev/null) || status=$?
echo
cat "$out"
rm -f "$out"
exit "$status"
