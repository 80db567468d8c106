#!/bin/sh
# Runs every test: installs what is missing, builds the native, sanitizer,
# Windows, ThreadSanitizer and fuzz builds, runs their tests (the Windows ones
# under wine64, the real-browser ones with Chromium), replays the fuzz
# targets' seeds and kept findings, checks ondrel-md --gfm against the cmark-gfm program
# on 10 MiB of the machine's Markdown, and fuzzes each target for a short while.
#
# A soak run (ctest label "soak") spends most of its time waiting for the fake
# browser, so each one starts in the background as soon as its build is done
# and runs while the later builds and tests use the processors.
set -eu
cd "$(dirname "$0")/.."
scripts/install-dependencies.sh
soaks=""
trap 'for pid in $soaks; do kill "$pid" 2>/dev/null || true; done' EXIT
for preset in native sanitize windows; do
  scripts/build.sh "$preset"
  echo "ondrel: starting the soak run of the $preset preset"
  ctest --preset "$preset" -L soak >"build/$preset/soak.log" 2>&1 &
  soaks="$soaks $!"
done
scripts/build.sh tsan fuzz
status=0
for preset in native sanitize windows tsan fuzz; do
  echo "ondrel: testing the $preset preset"
  ctest --preset "$preset" -LE soak -j"$(nproc)" || status=1
done
echo "ondrel: checking ondrel-md --gfm against cmark-gfm on the machine's Markdown"
scripts/check-gfm-output.sh build/native || status=1
echo "ondrel: fuzzing every target for 30 seconds"
scripts/fuzz.sh 30 || status=1
set -- $soaks
for preset in native sanitize windows; do
  wait "$1" || status=1
  shift
  echo "ondrel: the soak run of the $preset preset"
  cat "build/$preset/soak.log"
done
soaks=""
[ "$status" -eq 0 ] && echo "ondrel: every test passed"
exit "$status"
