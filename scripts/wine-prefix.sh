# Sourced by the test, demo and benchmark commands: a fresh Wine prefix for one run.
#   wine_prefix_start DIR   creates the prefix in DIR and keeps its wineserver up;
#                           the server is stopped when the calling shell exits
#   wine_prefix_stop        stops that prefix's wineserver and everything in it

wine_prefix_start() {
  local dir=$1 here
  here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
  export WINEPREFIX="$dir" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  unset DISPLAY WAYLAND_DISPLAY

  # Under qemu-user, 32-bit Wine needs the mmap shim; ld.so picks the copy that fits
  # each process through $LIB (the 64-bit one is empty).
  if [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
    local shim="$dir.shim"
    mkdir -p "$shim/lib/i386-linux-gnu" "$shim/lib/x86_64-linux-gnu"
    gcc -m32 -O2 -shared -fPIC -o "$shim/lib/i386-linux-gnu/mmapshim.so" "$here/qemu-mmap-shim.c"
    echo 'int mmapshim_unused;' | gcc -O2 -shared -fPIC -x c -o "$shim/lib/x86_64-linux-gnu/mmapshim.so" -
    export LD_PRELOAD="$shim/\$LIB/mmapshim.so"
  fi

  trap wine_prefix_stop EXIT
  if [ -d "$WINEPREFIX" ]; then wineserver -k 2>/dev/null || true; fi
  rm -rf "$WINEPREFIX"
  wine wineboot -i >/dev/null 2>&1
  # No screen here: windows, timers and message boxes work with the null driver.
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
  # A crashing program must simply end, as it would on a machine without a debugger,
  # never wait on the debugger or its dialog.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  local view
  for view in 32 64; do
    wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger \
      /f /reg:$view >/dev/null 2>&1 || true
  done
  # Drive T: is an empty scratch folder, for running a program from the root of a drive.
  rm -rf "$dir.drive-t"
  mkdir -p "$dir.drive-t"
  ln -sfn "$dir.drive-t" "$WINEPREFIX/dosdevices/t:"
  # Start over so that every process of the run, the desktop included, uses them.
  wineserver -k
  wineserver -w
  wineserver -p
  # Bring up Wine's services now, with no terminal or pipe of the caller's to keep.
  wine cmd /c exit >/dev/null 2>&1 </dev/null
}

wine_prefix_stop() {
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k 2>/dev/null || true; fi
}
