#!/bin/sh
# Runs every test: installs what is missing, builds the native, sanitizer,
# Windows and fuzz builds, runs their tests (the Windows ones under wine64, the
# real-browser ones with Chromium), replays the fuzz targets' seeds and kept
# findings, and fuzzes each target for a short while.
set -eu
cd "$(dirname "$0")/.."
scripts/install-dependencies.sh
scripts/build.sh native sanitize windows fuzz
status=0
for preset in native sanitize windows fuzz; do
  echo "ondrel: testing the $preset preset"
  ctest --preset "$preset" -j2 || status=1
done
echo "ondrel: fuzzing every target for 30 seconds"
scripts/fuzz.sh 30 || status=1
[ "$status" -eq 0 ] && echo "ondrel: every test passed"
exit "$status"
