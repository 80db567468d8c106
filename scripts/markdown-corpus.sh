#!/bin/sh
# Makes the Markdown corpus of the benchmark and of the GFM output check: every .md file under
# 2 MB on this machine (outside /work, /proc, /sys, /dev and /tmp), in sorted path order, one
# after the other, cut at SIZE bytes (default 10 MiB); on a machine with less Markdown than
# that, the files come round again. Writes build/markdown-corpus/corpus.md unless it is already
# there with the size asked for, and prints its path.
set -eu
size=${1:-10485760}
cd "$(dirname "$0")/.."
folder=build/markdown-corpus
corpus=$folder/corpus.md

if [ -f "$corpus" ] && [ "$(wc -c <"$corpus")" -eq "$size" ]; then
  echo "$PWD/$corpus"
  exit 0
fi
mkdir -p "$folder"
list=$folder/files.txt
find / \( -path /proc -o -path /sys -o -path /dev -o -path /tmp -o -path /work \) -prune \
  -o -type f -name '*.md' -size -2M -print 2>/dev/null | LC_ALL=C sort >"$list"
if [ ! -s "$list" ]; then
  echo "ondrel: no Markdown file found on this machine" >&2
  exit 1
fi

# Round after round until the corpus is big enough; each file ends with a line end, so that
# no file's last line runs into the next file's first.
: >"$corpus.part"
while [ "$(wc -c <"$corpus.part")" -lt "$size" ]; do
  while IFS= read -r file; do
    cat "$file" 2>/dev/null || true
    echo
  done <"$list" >>"$corpus.part"
done
head -c "$size" "$corpus.part" >"$corpus"
rm -f "$corpus.part"
echo "ondrel: $(wc -l <"$list") Markdown files, $size bytes in $corpus" >&2
echo "$PWD/$corpus"
