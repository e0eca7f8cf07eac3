#!/usr/bin/env bash
# Builds Setup.exe, lays out a sample distribution (Setup.exe and a Lib folder with
# stand-ins for the four programs) and runs it under Wine in a fresh prefix where
# neither prerequisite is installed. Prints what it started and what it wrote.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${SETUP_BUILD_DIR:-$root/build}"

bash "$root/scripts/deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$build" -j2 --target Setup fake_console fake_window >/dev/null

# shellcheck source=wine-prefix.sh
. "$root/scripts/wine-prefix.sh"
echo "Preparing a fresh Wine prefix..."
wine_prefix_start "$build/demo-prefix"

hklm='HKLM\Software'
for view in 32 64; do
  wine reg delete "$hklm\\Microsoft\\DataAccess" /v FullInstallVer /f /reg:$view >/dev/null 2>&1 || true
  wine reg delete "$hklm\\Microsoft\\.NETFramework" /v InstallRoot /f /reg:$view >/dev/null 2>&1 || true
done

dist="$build/demo/Product Disc"
rm -rf "$build/demo"
mkdir -p "$dist/Lib"
cp "$build/Setup.exe" "$dist/Setup.exe"
for name in mdac_typ.exe dotnetfx.exe langpack.exe; do
  cp "$build/tests/bin/fake_console.exe" "$dist/Lib/$name"
done
cp "$build/tests/bin/fake_window.exe" "$dist/Lib/KalvoDemo.exe"

journal="$build/demo/journal.txt"
export SETUP_TEST_JOURNAL="$(winepath -w "$journal" 2>/dev/null)"
# The .NET installer stand-in records InstallRoot, as the real one would.
export SETUP_TEST_ACTIONS="mdac_typ.exe=hold:500;dotnetfx.exe=install-dotnet,hold:500;langpack.exe=hold:300;KalvoDemo.exe=hold:1000"

echo "Running $(winepath -w "$dist/Setup.exe" 2>/dev/null)"
status=0
(cd "$dist" && wine Setup.exe </dev/null >/dev/null 2>&1) || status=$?
echo "Setup.exe ended with exit code $status"
echo

echo "Programs started, in order:"
if [ -s "$journal" ]; then
  awk -F'\t' '
    $1 == "start" { t0 = t0 ? t0 : $3
                    printf "  +%6.3f s  started %-14s command line: %s\n", ($3 - t0) / 1e7, $2, $5
                    printf "             %-22s current folder: %s\n", "", $6 }
    $1 == "end"   { printf "  +%6.3f s  ended   %s\n", ($3 - t0) / 1e7, $2 }' "$journal"
else
  echo "  (none)"
fi
echo
echo "Registry value written (32-bit view):"
wine reg query 'HKLM\Software\Crystal Decisions\9.0\Crystal Reports' /v CommonFiles /reg:32 2>/dev/null \
  | tr -d '\r' | grep -v '^$' | sed 's/^/  /' || echo "  (none)"
