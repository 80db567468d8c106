#!/bin/sh
# Renders a page that fills its viewport with one colour at every window
# height from FIRST to LAST through the plug-in, ondrel-render and Chromium,
# and names each height whose picture is not that colour all over. This is how
# the heights Chromium draws short were found, and how a new Chromium is
# checked. See --help.
set -eu

usage() {
  cat <<EOF
Usage: scripts/check-window-heights.sh [--no-frame] [FIRST [LAST [WIDTH]]]

Renders a page whose body is one 100vh red box in windows WIDTH (default 64)
pixels wide and FIRST to LAST (default 1 to 300) pixels high, and prints each
height whose picture is not red from top to bottom, with its count of red
rows. Exits 1 when there is such a height. --no-frame measures Chromium
itself: tools/chromium-headless then shows no page framed in a taller window.
Needs a finished native build (scripts/build.sh native).
EOF
}

frame=1
case "${1:-}" in
  -h | --help)
    usage
    exit 0
    ;;
  --no-frame)
    frame=0
    shift
    ;;
esac
first=${1:-1}
last=${2:-300}
width=${3:-64}
for number in "$first" "$last" "$width"; do
  if ! expr "$number" : '[1-9][0-9]*$' >/dev/null || [ "$number" -gt 10000 ]; then
    echo "ondrel: '$number' is not a size from 1 to 10000; see --help" >&2
    exit 2
  fi
done
if [ "$first" -gt "$last" ] || [ $# -gt 3 ]; then
  echo "ondrel: give FIRST <= LAST and at most a WIDTH after them; see --help" >&2
  exit 2
fi

cd "$(dirname "$0")/.."
root=$PWD
render=$root/build/native/tools/ondrel_render/ondrel-render
if [ ! -x "$render" ]; then
  echo "ondrel: $render is missing; build first (scripts/build.sh native)" >&2
  exit 1
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/ondrel-heights.XXXXXX")
trap 'rm -rf -- "$work"' EXIT
printf '%s\n' '<!DOCTYPE html><html><body style="margin:0">' \
  '<div style="height:100vh;background:rgb(255,0,0)"></div></body></html>' >"$work/box.html"

# The rows of a 24-bit bottom-up BMP whose every pixel is red.
red_rows() {
  od -An -v -tu1 -j54 "$1" | awk -v width="$2" '
    { for (i = 1; i <= NF; i++) bytes[n++] = $i }
    END {
      stride = int((width * 3 + 3) / 4) * 4
      for (row = 0; row * stride < n; row++) {
        red = 1
        for (x = 0; x < width; x++) {
          at = row * stride + x * 3
          if (bytes[at] > 30 || bytes[at + 1] > 30 || bytes[at + 2] < 225) red = 0
        }
        count += red
      }
      print count + 0
    }'
}

[ "$frame" -eq 1 ] || ONDREL_CHROMIUM_NO_FRAME=1
export ONDREL_CHROMIUM_NO_FRAME

wrong=0
height=$first
while [ "$height" -le "$last" ]; do
  printf '[SystemSetting]\nChrome=%s\nwidth=%s\nheight=%s\nwaitTime=60\n' \
    "$root/tools/chromium-headless" "$width" "$height" >"$work/ondrel.ini"
  if "$render" --ini "$work/ondrel.ini" "$work/box.html" "$work/box.bmp" >/dev/null; then
    rows=$(red_rows "$work/box.bmp" "$width")
  else
    rows="no picture"
  fi
  if [ "$rows" != "$height" ]; then
    echo "height $height: $rows red rows"
    wrong=$((wrong + 1))
  fi
  [ $((height % 50)) -ne 0 ] || echo "ondrel: checked up to height $height" >&2
  height=$((height + 1))
done
echo "ondrel: $wrong of $((last - first + 1)) heights from $first to $last at width $width are wrong"
[ "$wrong" -eq 0 ]
