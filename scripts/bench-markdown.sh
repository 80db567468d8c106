#!/bin/sh
# Times the Markdown converters in one run on the same bytes: the plug-in's built-in converter
# (ondrel-md --staging, its staging configuration), the GitHub-flavoured path (ondrel-md --gfm,
# cmark-gfm through ondrel), the same with alerts and front matter (ondrel-md --gfm --github, the
# body of a markdown=GFM page) and Debian's cmark-gfm program with the same extensions. The input
# is the corpus of scripts/markdown-corpus.sh, 10 MiB of the machine's own Markdown unless SIZE
# says otherwise. Each converter runs RUNS times (default 5), in rounds of one run each, output
# to /dev/null; the table shows the fastest and the median run.
#   scripts/bench-markdown.sh [BUILD [RUNS [SIZE]]]
set -eu
cd "$(dirname "$0")/.."
build=${1:-build/native}
runs=${2:-5}
size=${3:-10485760}

. scripts/markdown-programs.sh
corpus=$(scripts/markdown-corpus.sh "$size")

# The converters by number: the table's name for each and its command, to which the corpus is
# given as the last argument.
converters=4
name_1="built-in converter"
command_1="$ondrel_md --staging"
name_2="GFM path (cmark-gfm through ondrel)"
command_2="$ondrel_md --gfm"
name_3="GFM page body (alerts, front matter)"
command_3="$ondrel_md --gfm --github"
name_4="cmark-gfm $(cmark-gfm --version | head -1 | cut -d" " -f2)"
command_4=$cmark_gfm

# Milliseconds of one run of the command, which is given the corpus as its last argument.
milliseconds() {
  start=$(date +%s%N)
  $1 "$corpus" >/dev/null
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}

# Round after round, each converter once a round, so that a machine busy for a while slows every
# converter alike: lines of "converter milliseconds".
timeRounds() {
  round=0
  while [ "$round" -lt "$runs" ]; do
    i=1
    while [ "$i" -le "$converters" ]; do
      eval "command=\$command_$i"
      echo "$i $(milliseconds "$command")"
      i=$((i + 1))
    done
    round=$((round + 1))
  done
}

# One table row: converter, command, fastest and median run, throughput of the fastest.
row() {
  eval "name=\$name_$1 command=\$command_$1"
  output=$($command "$corpus" | wc -c)
  awk -v i="$1" '$1 == i { print $2 }' "$times" | sort -n | awk -v name="$name" \
    -v command="$command" -v size="$size" -v output="$output" -v build="$build/" '
    { t[NR] = $1 }
    END {
      sub(build, "", command)
      median = t[int((NR + 1) / 2)]
      fastest = t[1] > 0 ? t[1] : 1
      printf "| %s | `%s` | %d | %d | %.0f | %d |\n", name, command, t[1], median,
             size / 1048576 / (fastest / 1000), output
    }'
}

times=$(mktemp)
trap 'rm -f "$times"' EXIT
i=1
while [ "$i" -le "$converters" ]; do  # a first run of each to warm the file cache
  eval "command=\$command_$i"
  $command "$corpus" >/dev/null
  i=$((i + 1))
done
timeRounds >"$times"

echo "$(wc -c <"$corpus") bytes of Markdown, $runs interleaved runs each, on $(nproc) cores"
echo "($(grep -m1 'model name' /proc/cpuinfo | sed 's/.*: //'))"
echo
echo "| Converter | Command | Fastest ms | Median ms | MiB/s | Output bytes |"
echo "|---|---|---:|---:|---:|---:|"
i=1
while [ "$i" -le "$converters" ]; do
  row "$i"
  i=$((i + 1))
done
