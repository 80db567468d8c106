#!/bin/sh
# Checks that ondrel-md --gfm writes exactly what md4c's own renderer writes
# (md_html(..., MD_DIALECT_GITHUB, 0), bench/md4c-render) for the benchmark's corpus of real
# Markdown (scripts/markdown-corpus.sh, 10 MiB unless SIZE says otherwise), byte for byte.
# Exits 1 and names the first difference when they differ.
#   scripts/check-gfm-output.sh [BUILD [SIZE]]
set -eu
cd "$(dirname "$0")/.."
build=${1:-build/native}
size=${2:-10485760}
. scripts/markdown-programs.sh
corpus=$(scripts/markdown-corpus.sh "$size")

"$ondrel_md" --gfm "$corpus" >"$corpus.ondrel-md.html"
"$md4c_render" "$corpus" >"$corpus.md4c.html"
if cmp "$corpus.ondrel-md.html" "$corpus.md4c.html"; then
  echo "ondrel: ondrel-md --gfm equals md_html on $(wc -c <"$corpus") bytes of Markdown" \
    "($(wc -c <"$corpus.md4c.html") bytes of HTML)"
  rm -f "$corpus.ondrel-md.html" "$corpus.md4c.html"
else
  echo "ondrel: ondrel-md --gfm differs from md_html; the outputs are beside $corpus" >&2
  exit 1
fi
