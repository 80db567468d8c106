#!/bin/sh
# Times four Markdown converters in one run on the same bytes: the plug-in's built-in converter
# (ondrel-md --staging, its staging configuration), the GitHub-flavoured path (ondrel-md --gfm,
# md4c through ondrel), Debian's cmark (--unsafe, so raw HTML passes as md4c lets it) and md4c's
# own renderer alone (md4c-render). The input is the corpus of scripts/markdown-corpus.sh, 10 MiB
# of the machine's own Markdown unless SIZE says otherwise. Each converter runs RUNS times
# (default 5), output to /dev/null; the table shows the fastest and the median run.
#   scripts/bench-markdown.sh [BUILD [RUNS [SIZE]]]
set -eu
cd "$(dirname "$0")/.."
build=${1:-build/native}
runs=${2:-5}
size=${3:-10485760}

. scripts/markdown-programs.sh
if ! command -v cmark >/dev/null 2>&1; then
  echo "ondrel: cmark is missing; install it with scripts/install-dependencies.sh" >&2
  exit 1
fi
corpus=$(scripts/markdown-corpus.sh "$size")

# Milliseconds of one run of the command, which is given the corpus as its last argument.
milliseconds() {
  start=$(date +%s%N)
  "$@" "$corpus" >/dev/null
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}

# One table row: converter, command, fastest and median run, throughput of the fastest.
measure() {
  name=$1
  shift
  "$@" "$corpus" >/dev/null  # a first run to warm the file cache
  times=""
  i=0
  while [ "$i" -lt "$runs" ]; do
    times="$times $(milliseconds "$@")"
    i=$((i + 1))
  done
  output=$("$@" "$corpus" | wc -c)
  echo "$times" | tr ' ' '\n' | grep . | sort -n | awk -v name="$name" -v command="$*" \
    -v size="$size" -v output="$output" -v build="$build/" '
    { t[NR] = $1 }
    END {
      sub(build, "", command)
      median = t[int((NR + 1) / 2)]
      fastest = t[1] > 0 ? t[1] : 1
      printf "| %s | `%s` | %d | %d | %.0f | %d |\n", name, command, t[1], median,
             size / 1048576 / (fastest / 1000), output
    }'
}

echo "$(wc -c <"$corpus") bytes of Markdown, $runs runs each, on $(nproc) cores"
echo "($(grep -m1 'model name' /proc/cpuinfo | sed 's/.*: //'))"
echo
echo "| Converter | Command | Fastest ms | Median ms | MiB/s | Output bytes |"
echo "|---|---|---:|---:|---:|---:|"
measure "built-in converter" "$ondrel_md" --staging
measure "GFM path (md4c through ondrel)" "$ondrel_md" --gfm
measure "cmark $(cmark --version | head -1 | cut -d" " -f2)" cmark --unsafe
measure "md4c's own renderer" "$md4c_render"
