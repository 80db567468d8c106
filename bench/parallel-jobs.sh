#!/bin/sh
# Pictures per second through ondrel-render --jobs 1, 2 and 4 on 200 small documents (HTML pages,
# Markdown notes and SVG drawings, each a few hundred bytes), the DevTools engine with its browser
# kept, the module's own "parallel" setting at 4 so that the jobs alone bound the pictures drawn
# at once. The runs are interleaved round by round, each a fresh ondrel-render (its browser start
# included), and every run's pictures are compared with the first --jobs 1 run's, byte for byte.
#
# Usage: bench/parallel-jobs.sh [BUILD_DIR] [ROUNDS] [BROWSER]
#        (defaults: build/native, 3, tools/chromium-headless)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/native}
rounds=${2:-3}
browser=${3:-$root/tools/chromium-headless}
render=$build/tools/ondrel_render/ondrel-render
[ -x "$render" ] || { echo "build ondrel-render first ($render)" >&2; exit 1; }

work=$(mktemp -d /tmp/ondrel-jobs.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir "$work/in"
i=1
while [ $i -le 200 ]; do
  case $((i % 3)) in
    0) printf '<!DOCTYPE html><html><body style="font:16px sans-serif"><h1>Page %d</h1><p>A small page, one of two hundred, with <b>bold</b> and <i>italic</i> text.</p></body></html>\n' $i >"$work/in/doc$i.html" ;;
    1) printf '# Note %d\n\nA small note, one of two hundred.\n\n- a list\n- of *three*\n- items\n' $i >"$work/in/doc$i.md" ;;
    2) printf '<svg xmlns="http://www.w3.org/2000/svg" width="320" height="240"><rect width="320" height="240" fill="#%02x%02x80"/><text x="20" y="120" font-size="24">Drawing %d</text></svg>\n' $((i % 256)) $((255 - i % 256)) $i >"$work/in/doc$i.svg" ;;
  esac
  i=$((i + 1))
done
printf '[SystemSetting]\nChrome=%s\nwaitTime=60\nwidth=320\nheight=240\nengine=DevTools\nkeepBrowser=60\nparallel=4\n' \
  "$browser" >"$work/ondrel.ini"

now() { date +%s.%N; }
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) exit; m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.2f", m }'; }

r=1
while [ $r -le "$rounds" ]; do
  for jobs in 1 2 4; do
    rm -rf "$work/out"
    t=$(now)
    "$render" --ini "$work/ondrel.ini" --jobs $jobs --out-dir "$work/out" "$work"/in/* \
      >/dev/null 2>"$work/err" || { cat "$work/err" >&2; exit 1; }
    awk -v a="$t" -v b="$(now)" 'BEGIN { printf "%.3f\n", 200 / (b - a) }' >>"$work/rate-$jobs"
    if [ -d "$work/reference" ]; then
      for png in "$work"/reference/*.png; do
        cmp -s "$png" "$work/out/$(basename "$png")" || { echo "differs: --jobs $jobs $(basename "$png")" >&2; exit 1; }
      done
    else
      mv "$work/out" "$work/reference"
    fi
  done
  r=$((r + 1))
done

one=$(median <"$work/rate-1")
printf '%-10s %14s %12s\n' "" "pictures/s" "vs --jobs 1"
for jobs in 1 2 4; do
  rate=$(median <"$work/rate-$jobs")
  printf '%-10s %14s %12s\n' "--jobs $jobs" "$rate" "$(awk -v a="$rate" -v b="$one" 'BEGIN { printf "%.2fx", a / b }')"
done
echo "(200 documents, 320 x 240; median of $rounds rounds; every picture equal to --jobs 1's;"
echo " $(nproc) cores; load $(cut -d' ' -f1-3 /proc/loadavg); $("$browser" --version 2>/dev/null | head -1))"
