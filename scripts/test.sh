#!/bin/sh
# Runs every test: installs what is missing, builds the native, sanitizer,
# Windows, ThreadSanitizer and fuzz builds, runs their tests (the Windows ones
# under wine64, the real-browser ones with Chromium), replays the fuzz
# targets' seeds and kept findings, checks ondrel-md --gfm against the cmark-gfm program
# on 10 MiB of the machine's Markdown, and fuzzes each target for 15 seconds.
#
# The sanitize run skips the real-browser tests labelled "browser-side", which
# check what the browser does and run in the native build.
#
# A soak run (ctest label "soak") spends most of its time waiting for the fake
# browser, so each one starts in the background as soon as its build is done
# and runs while the later builds and tests use the processors.
set -eu
cd "$(dirname "$0")/.."
started=$(date +%s)
# Each step's line says how far into the run it begins, so a slow run shows
# where its time went.
say() { echo "ondrel [$(($(date +%s) - started)) s]: $*"; }
scripts/install-dependencies.sh
# Every Windows test program talks to its prefix's wine server, which ends a
# few seconds after its last program; one that starts just then fails at once
# ("recvmsg: Connection reset by peer"). The run keeps the server until it ends.
wine_prefix=$PWD/build/windows/wineprefix
keep_wine_server() {
  # The prefix is made first, as the test programs would make it.
  WINEPREFIX=$wine_prefix cmake/wine-run.sh cmd /c exit >/dev/null 2>&1
  WINEPREFIX=$wine_prefix /usr/lib/wine/wineserver -w
  WINEPREFIX=$wine_prefix /usr/lib/wine/wineserver -p
  # Wine's own services live as long as the server and keep the descriptors of
  # the program that started them: started here, they hold no test's output
  # open, which ctest would wait for.
  WINEPREFIX=$wine_prefix cmake/wine-run.sh cmd /c exit </dev/null >/dev/null 2>&1
}
end_wine_server() {
  [ -d "$wine_prefix" ] && WINEPREFIX=$wine_prefix /usr/lib/wine/wineserver -k 2>/dev/null
  return 0
}
soaks=""
trap 'for pid in $soaks; do kill "$pid" 2>/dev/null || true; done; end_wine_server' EXIT
for preset in native sanitize windows; do
  scripts/build.sh "$preset"
  [ "$preset" = windows ] && keep_wine_server
  say "starting the soak run of the $preset preset"
  ctest --preset "$preset" -L soak >"build/$preset/soak.log" 2>&1 &
  soaks="$soaks $!"
done
scripts/build.sh tsan fuzz
status=0
for preset in native sanitize windows tsan fuzz; do
  say "testing the $preset preset"
  case $preset in
    sanitize) skipped='soak|browser-side' ;;
    *) skipped=soak ;;
  esac
  # The Windows programs spend most of their time waiting on wine, so twice as
  # many run at once.
  jobs=$(nproc)
  [ "$preset" = windows ] && jobs=$((2 * jobs))
  ctest --preset "$preset" -LE "$skipped" -j"$jobs" || status=1
done
say "checking ondrel-md --gfm against cmark-gfm on the machine's Markdown"
scripts/check-gfm-output.sh build/native || status=1
say "fuzzing every target for 15 seconds"
scripts/fuzz.sh 15 || status=1
set -- $soaks
for preset in native sanitize windows; do
  wait "$1" || status=1
  shift
  say "the soak run of the $preset preset"
  cat "build/$preset/soak.log"
done
soaks=""
[ "$status" -eq 0 ] && say "every test passed"
exit "$status"
