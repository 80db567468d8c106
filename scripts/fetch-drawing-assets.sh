#!/bin/sh
# Installs the scripts, style sheets and fonts that Markdown pages draw code,
# math and diagrams with, from npm at the versions assets/package-lock.json
# pins; see --help.
set -eu
cd "$(dirname "$0")/.."

usage() {
  cat <<EOF2
Usage: scripts/fetch-drawing-assets.sh [DEST]

Runs \`npm ci\` on assets/package.json and assets/package-lock.json in DEST
(default: build/drawing-assets in the checkout), where every preset looks for
highlight.js, KaTeX and Mermaid; the lockfile's integrity hashes check each
tarball. Nothing is written into the checkout itself, and no package's
install script runs. Does nothing when DEST already holds what the lockfile
names.

Exit status: 0 when DEST holds the packages, 1 when they could not be
installed, 2 for a bad command line.
EOF2
}

case "${1:-}" in
  -h | --help) usage; exit 0 ;;
  -*) echo "fetch-drawing-assets.sh: unknown option $1" >&2; exit 2 ;;
esac
[ $# -le 1 ] || { echo "fetch-drawing-assets.sh: one folder at most" >&2; exit 2; }
dest=${1:-build/drawing-assets}

if ! command -v npm >/dev/null 2>&1; then
  echo "ondrel: npm is missing; run scripts/install-dependencies.sh" >&2
  exit 1
fi

mkdir -p "$dest"
if cmp -s assets/package-lock.json "$dest/package-lock.json" &&
  [ -f "$dest/node_modules/.package-lock.json" ]; then
  echo "ondrel: the drawing assets are in $dest"
  exit 0
fi
cp assets/package.json assets/package-lock.json "$dest/"
echo "ondrel: installing highlight.js, KaTeX and Mermaid into $dest"
if ! (cd "$dest" && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error); then
  rm -f "$dest/package-lock.json"
  echo "ondrel: npm ci failed in $dest" >&2
  exit 1
fi
