#!/bin/sh
# Checks that ondrel-md --gfm writes exactly what Debian's cmark-gfm program writes with GitHub's
# extensions (cmark-gfm --unsafe -e table -e strikethrough -e autolink -e tasklist -e tagfilter
# -e footnotes) for the benchmark's corpus of real Markdown (scripts/markdown-corpus.sh, 10 MiB
# unless SIZE says otherwise), byte for byte. Exits 1 and names the first difference when they
# differ.
#   scripts/check-gfm-output.sh [BUILD [SIZE]]
set -eu
cd "$(dirname "$0")/.."
build=${1:-build/native}
size=${2:-10485760}
. scripts/markdown-programs.sh
corpus=$(scripts/markdown-corpus.sh "$size")

"$ondrel_md" --gfm "$corpus" >"$corpus.ondrel-md.html"
$cmark_gfm "$corpus" >"$corpus.cmark-gfm.html"
if cmp "$corpus.ondrel-md.html" "$corpus.cmark-gfm.html"; then
  echo "ondrel: ondrel-md --gfm equals cmark-gfm on $(wc -c <"$corpus") bytes of Markdown" \
    "($(wc -c <"$corpus.cmark-gfm.html") bytes of HTML)"
  rm -f "$corpus.ondrel-md.html" "$corpus.cmark-gfm.html"
else
  echo "ondrel: ondrel-md --gfm differs from cmark-gfm; the outputs are beside $corpus" >&2
  exit 1
fi
