#!/bin/sh
# Configures and builds the given presets (default: native and windows).
set -eu
cd "$(dirname "$0")/.."
[ $# -gt 0 ] || set -- native windows
for preset in "$@"; do
  echo "ondrel: building the $preset preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
