#!/bin/sh
# Times a picture in these ways, interleaved round by round on the same pages:
#   bare      Chromium itself with --headless --screenshot (through the wrapper's switches)
#   one-shot  ondrel-render, one file, the one-shot engine
#   cold      ondrel-render, one file, engine=DevTools keepBrowser=0
#   warm      ondrel-render, 20 files in one run, engine=DevTools (keepBrowser=60):
#             its first picture and the median of the other 19 back to back, from its
#             progress lines
#   paused    the same with --pause 500 between pictures, as a person flipping through them:
#             the median of pictures 2 to 20, the pause left out (the latency a person feels)
# and prints the median seconds per picture of each. The pages: the 640 x 480 sample
# (examples/page.html) and a whole page 5,060 px tall (fullPage=ON for the DevTools runs,
# a window that tall for the others).
#
# Usage: bench/warm-browser.sh [BUILD_DIR] [ROUNDS]   (defaults: build/native, 5)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/native}
rounds=${2:-5}
render=$build/tools/ondrel_render/ondrel-render
wrapper=$root/tools/chromium-headless
[ -x "$render" ] || { echo "build ondrel-render first ($render)" >&2; exit 1; }

work=$(mktemp -d /tmp/ondrel-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT

# A page 5,060 px tall: a header and 100 blocks of text.
{
  echo '<!DOCTYPE html><html><head><meta charset="utf-8"><style>'
  echo 'body{margin:0;font:16px sans-serif} div{height:50px;border-bottom:1px solid #ccc}'
  echo 'h1{height:60px;margin:0;background:#1a4f8b;color:#fff}</style></head><body><h1>Tall</h1>'
  i=0
  while [ $i -lt 100 ]; do
    echo "<div style=\"height:49px\">Block $i of a long page, with a line of text in it.</div>"
    i=$((i + 1))
  done
  echo '</body></html>'
} >"$work/tall.html"

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f\n", b - a }'; }
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) exit; m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.3f", m }'; }

ini() { # name, extra lines
  printf '[SystemSetting]\nChrome=%s\nwaitTime=60\n%b' "$wrapper" "$2" >"$work/$1.ini"
}

for page in sample tall; do
  if [ $page = sample ]; then
    file=$root/examples/page.html size="width=640\nheight=480\n" window=640,480 whole=""
  else
    file=$work/tall.html size="width=640\nheight=5060\n" window=640,5060 whole="fullPage=ON\n"
  fi
  ini "$page-oneshot" "$size"
  ini "$page-cold" "${size}engine=DevTools\nkeepBrowser=0\n$whole"
  ini "$page-warm" "${size}engine=DevTools\nkeepBrowser=60\n$whole"
  mkdir -p "$work/$page-in"
  n=1
  while [ $n -le 20 ]; do cp "$file" "$work/$page-in/$n.html"; n=$((n + 1)); done

  r=1
  while [ $r -le "$rounds" ]; do
    t=$(now)
    ONDREL_CHROMIUM_NO_FRAME=1 "$wrapper" --headless --hide-scrollbars --window-size=$window \
      --screenshot="$work/bare.png" "$file" >/dev/null 2>&1
    elapsed "$t" "$(now)" >>"$work/$page-bare"
    for engine in oneshot cold; do
      t=$(now)
      "$render" --ini "$work/$page-$engine.ini" "$file" "$work/out.png" >/dev/null
      elapsed "$t" "$(now)" >>"$work/$page-$engine"
    done
    "$render" --ini "$work/$page-warm.ini" --out-dir "$work/$page-out" "$work/$page-in"/*.html \
      2>"$work/progress" >/dev/null
    sed -n 's/^ondrel-render: \[\([0-9]*\)\/20\] .*: \([0-9.]*\) s$/\1 \2/p' "$work/progress" |
      awk -v first="$work/$page-first" -v warm="$work/$page-warm" \
        '{ print $2 >> ($1 == 1 ? first : warm) }'
    "$render" --ini "$work/$page-warm.ini" --pause 500 --out-dir "$work/$page-out" \
      "$work/$page-in"/*.html 2>"$work/progress" >/dev/null
    sed -n 's/^ondrel-render: \[\([0-9]*\)\/20\] .*: \([0-9.]*\) s$/\1 \2/p' "$work/progress" |
      awk -v paused="$work/$page-paused" '$1 > 1 { print $2 >> paused }'
    r=$((r + 1))
  done
done

printf '%-28s %10s %10s\n' "median seconds per picture" "sample" "5,060 px"
for row in bare oneshot cold first warm paused; do
  case $row in
    bare) label="bare chromium --screenshot" ;;
    oneshot) label="one-shot engine" ;;
    cold) label="DevTools, keepBrowser=0" ;;
    first) label="warm run, first picture" ;;
    warm) label="warm run, pictures 2-20" ;;
    paused) label="warm, after a 500 ms pause" ;;
  esac
  printf '%-28s %10s %10s\n' "$label" "$(median <"$work/sample-$row")" "$(median <"$work/tall-$row")"
done
echo "($rounds rounds; $(nproc) cores; load $(cut -d' ' -f1-3 /proc/loadavg); $(chromium --version 2>/dev/null | head -1))"
