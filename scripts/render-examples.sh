#!/bin/sh
# Renders the sample documents of examples/ to PNG files in out/ with
# ondrel-render, through the plug-in and Debian's Chromium, which the wrapper
# tools/chromium-headless starts. Builds nothing: give the native build
# folder (default build/native) of a finished build.
set -eu
build=${1:-build/native}
cd "$(dirname "$0")/.."
root=$PWD
cd - >/dev/null
build=$(cd "$build" 2>/dev/null && pwd) || {
  echo "ondrel: no build folder ${1:-build/native}; build first (scripts/build.sh native)" >&2
  exit 1
}
cd "$root"

render=$build/tools/ondrel_render/ondrel-render
if [ ! -x "$render" ]; then
  echo "ondrel: $render is missing; build first (scripts/build.sh native)" >&2
  exit 1
fi
if [ ! -x /usr/bin/chromium ]; then
  echo "ondrel: Chromium is missing; install it with scripts/install-dependencies.sh" >&2
  exit 1
fi

# The plug-in needs the browser's full name, which depends on this checkout.
mkdir -p out
sed "s|^Chrome=.*|Chrome=$root/tools/chromium-headless|" examples/linux.ini >out/linux.ini
# readme.md is GitHub-flavoured: the same settings with markdown=GFM.
sed "s|^;*markdown=.*|markdown=GFM|" out/linux.ini >out/linux-gfm.ini

status=0
for sample in sample.md page.html drawing.svg; do
  "$render" --ini out/linux.ini "examples/$sample" "$root/out/$sample.png" || status=1
done
"$render" --ini out/linux-gfm.ini examples/readme.md "$root/out/readme.md.png" || status=1
# technical.md draws its code, math and diagram: the DevTools engine waits for the drawing.
sed "s|^;*markdownDrawing=.*|markdownDrawing=ON|; s|^;*engine=.*|engine=DevTools|;
  s|^;*fullPage=.*|fullPage=ON|" out/linux-gfm.ini >out/linux-drawing.ini
"$render" --ini out/linux-drawing.ini examples/technical.md "$root/out/technical.md.png" ||
  status=1
[ "$status" -eq 0 ] && echo "ondrel: the samples are rendered in $root/out"
exit "$status"
