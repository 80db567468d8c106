#!/bin/sh
# Times warm pictures of the same README four ways, interleaved picture by picture in one
# ondrel-render run (engine=DevTools, keepBrowser=60, 800 px wide, markdown=GFM,
# markdownDrawing=ON), and prints the median seconds per picture of each:
#   plain    examples/readme.md with its fences' languages taken off: nothing to draw
#   code     the same with three highlighted blocks (Python, JavaScript, Rust)
#   math     the same with inline math and two display formulas
#   diagram  the same with one Mermaid flowchart
# The run's first picture, which starts the browser, is left out.
#
# Usage: bench/drawing-pages.sh [BUILD_DIR] [ROUNDS]   (defaults: build/native, 10)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/native}
rounds=${2:-10}
render=$build/tools/ondrel_render/ondrel-render
[ -x "$render" ] || { echo "build ondrel-render first ($render)" >&2; exit 1; }
[ -d "$build/plugin/ondrel-assets" ] || {
  echo "no ondrel-assets beside the module in $build/plugin: run scripts/fetch-drawing-assets.sh and build again" >&2
  exit 1
}

work=$(mktemp -d /tmp/ondrel-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT

sed 's/^\( *\)```[a-z][a-z]*$/\1```/' "$root/examples/readme.md" >"$work/base.md"
cp "$work/base.md" "$work/plain.md"
{
  cat "$work/base.md"
  printf '\n```python\ndef mean(values):\n    # the average\n    return sum(values) / len(values)\n```\n'
  printf '\n```js\nconst total = [1, 2, 3].reduce((a, b) => a + b, 0); // 6\n```\n'
  printf '\n```rust\nfn main() {\n    let answer: u32 = 42;\n    println!("{}", answer);\n}\n```\n'
} >"$work/code.md"
{
  cat "$work/base.md"
  printf '\nEuler: $e^{i\\pi} + 1 = 0$, and for $x_1 + y_1$ the mean is $\\bar{x}$.\n'
  printf '\n$$\n\\sum_{i=1}^{n} i = \\frac{n(n+1)}{2}\n$$\n'
  printf '\n```math\n\\int_0^1 x^2\\,dx = \\frac{1}{3}\n```\n'
} >"$work/math.md"
{
  cat "$work/base.md"
  printf '\n```mermaid\ngraph TD\n  A[Write] --> B{Review}\n  B -->|ok| C[Merge]\n  B -->|changes| A\n```\n'
} >"$work/diagram.md"

cat >"$work/bench.ini" <<EOF2
[SystemSetting]
Chrome=$root/tools/chromium-headless
waitTime=30
width=800
height=1100
engine=DevTools
keepBrowser=60
markdown=GFM
markdownDrawing=ON
EOF2

# One warm-up picture, then the four kinds in turn, round after round, each to a file of its own.
mkdir "$work/out"
pairs="$work/plain.md $work/out/warm-up.png"
i=0
while [ $i -lt "$rounds" ]; do
  for kind in plain code math diagram; do
    pairs="$pairs $work/$kind.md $work/out/$kind-$i.png"
  done
  i=$((i + 1))
done
# shellcheck disable=SC2086
"$render" --ini "$work/bench.ini" $pairs 2>"$work/progress" >/dev/null

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) exit; m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.2f", m }'; }
printf '%-8s %s\n' page "median s per warm picture ($rounds each)"
for kind in plain code math diagram; do
  # Progress lines: "ondrel-render: [N/M] FILE: 0.12 s"; the first line is the warm-up.
  value=$(tail -n +2 "$work/progress" | grep "/$kind.md: " | sed 's/.*: \([0-9.]*\) s$/\1/' | median)
  printf '%-8s %s\n' "$kind" "$value"
done
