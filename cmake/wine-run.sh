#!/bin/sh
# Runs a Windows program under wine64 with a private prefix beside the build.
# WINEPREFIX may be set by the caller; by default the prefix lives in the
# build folder of the program being run, so each build has its own.
set -e
program=$1
if [ -z "$WINEPREFIX" ]; then
  build_dir=$(cd "$(dirname "$program")" && pwd)
  while [ "$build_dir" != / ] && [ ! -f "$build_dir/CMakeCache.txt" ]; do
    build_dir=$(dirname "$build_dir")
  done
  WINEPREFIX="$build_dir/wineprefix"
fi
export WINEPREFIX
export WINEDEBUG=-all
# wine needs no display for what runs here; keep it from looking for one.
unset DISPLAY WAYLAND_DISPLAY
# Test programs may start side by side on a new prefix: one of them makes it.
mkdir -p "$WINEPREFIX"
(
  flock 9
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -w
  fi
) 9>"$WINEPREFIX/.init.lock"
exec /usr/lib/wine/wine64 "$@"
