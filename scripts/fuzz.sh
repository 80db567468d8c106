#!/bin/sh
# Fuzzes one target, or every target, for a while each; see --help.
set -eu
cd "$(dirname "$0")/.."

build=build/fuzz

usage() {
  cat <<EOF
Usage: scripts/fuzz.sh [TARGET] [SECONDS]

Builds the fuzz preset if needed (Clang, libFuzzer, AddressSanitizer and
UndefinedBehaviorSanitizer), then fuzzes TARGET, or every target when none is
named, for SECONDS each (default 60), as many at a time as there are
processors.

Targets: $(targetList)

Each target runs on its own corpus in $build/corpus/TARGET, which starts from
the committed seeds (fuzz/corpus/TARGET) and kept findings
(fuzz/regressions/TARGET) and keeps what fuzzing adds; the committed folders
are never written. Memory and time limits per target are in
$build/fuzz/TARGET.flags, made from fuzz/CMakeLists.txt. An input that makes
a target fail is written to $build/findings/TARGET/ and the script exits 1;
the run's output is in $build/logs/TARGET.log.
EOF
}

# One target per source file in fuzz/, named after what it fuzzes.
targets() {
  for source in fuzz/*.cc; do basename "$source" .cc; done
}

targetList() {
  targets | paste -sd ' ' -
}

isTarget() {
  targets | grep -qx -- "$1"
}

# Builds only when something changed; ninja answers quickly otherwise.
buildFuzzPreset() {
  mkdir -p "$build"
  if { [ -f "$build/CMakeCache.txt" ] || cmake --preset fuzz; } >"$build/build.log" 2>&1 &&
    cmake --build --preset fuzz -j"$(nproc)" >>"$build/build.log" 2>&1; then
    return 0
  fi
  cat "$build/build.log" >&2
  echo "ondrel: the fuzz preset did not build" >&2
  exit 1
}

# Runs one target; prints a summary line, and on a finding where its input is.
fuzzTarget() {
  target=$1
  corpus=$build/corpus/$target
  findings=$PWD/$build/findings/$target
  log=$build/logs/$target.log
  mkdir -p "$corpus" "$findings" "$build/logs"
  find "fuzz/corpus/$target" "fuzz/regressions/$target" -type f ! -name .gitkeep \
    -exec cp -f {} "$corpus"/ \;
  # shellcheck disable=SC2046 # the flags file holds separate words
  if "$build/fuzz/fuzz_$target" $(cat "$build/fuzz/$target.flags") \
      -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix="$findings/" "$corpus" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "ondrel: $target: no finding in ${seconds}s (${runs:-?} runs, corpus $(ls "$corpus" | wc -l) inputs)"
    return 0
  fi
  echo "ondrel: $target FAILED; the end of $log:" >&2
  tail -n 40 "$log" >&2
  written=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log")
  echo "ondrel: $target: the failing input was written to ${written:-(no file; see the log)}" >&2
  echo "ondrel: replay it with: $build/fuzz/fuzz_$target $(cat "$build/fuzz/$target.flags") ${written:-FILE}" >&2
  return 1
}

case "${1:-}" in
  -h | --help)
    usage
    exit 0
    ;;
esac

if [ $# -ge 1 ] && ! isTarget "$1" && ! expr "$1" : '[0-9][0-9]*$' >/dev/null; then
  echo "ondrel: unknown fuzz target '$1'; the targets are: $(targetList)" >&2
  exit 2
fi
if [ $# -ge 1 ] && isTarget "$1"; then
  selected=$1
  shift
else
  selected=$(targets)
fi
seconds=${1:-60}
if ! expr "$seconds" : '[1-9][0-9]*$' >/dev/null || [ $# -gt 1 ]; then
  echo "ondrel: SECONDS must be a positive whole number; see scripts/fuzz.sh --help" >&2
  exit 2
fi

# libFuzzer keeps one processor busy, so the targets run a batch of one per
# processor at a time; each writes its own corpus, findings and log.
fuzzBatch() {
  pids=""
  for target in "$@"; do
    fuzzTarget "$target" &
    pids="$pids $!"
  done
  for pid in $pids; do
    wait "$pid" || status=1
  done
}

buildFuzzPreset
status=0
processors=$(nproc)
batch=""
count=0
for target in $selected; do
  batch="$batch $target"
  count=$((count + 1))
  if [ "$count" -eq "$processors" ]; then
    # shellcheck disable=SC2086 # the batch holds separate target names
    fuzzBatch $batch
    batch=""
    count=0
  fi
done
# shellcheck disable=SC2086
[ -z "$batch" ] || fuzzBatch $batch
exit "$status"
