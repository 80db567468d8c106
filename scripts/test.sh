#!/bin/sh
# Runs every test: installs what is missing, builds the native, sanitizer and
# Windows builds, and runs their tests (the Windows ones under wine64, the
# real-browser ones with Chromium).
set -eu
cd "$(dirname "$0")/.."
scripts/install-dependencies.sh
scripts/build.sh native sanitize windows
status=0
for preset in native sanitize windows; do
  echo "ondrel: testing the $preset preset"
  ctest --preset "$preset" -j2 || status=1
done
[ "$status" -eq 0 ] && echo "ondrel: every test passed"
exit "$status"
