#!/bin/sh
# Installs, from Debian's archive, whatever the build and the tests need and
# this machine lacks. Runs apt-get as root, through sudo when not root. Then
# fetches cmark-gfm's source for the Windows build, which compiles it with
# MinGW-w64; that needs no root and leaves apt's own configuration alone.
# Last, npm installs the scripts Markdown pages draw code, math and diagrams
# with into the build folder, at the versions assets/package-lock.json pins.
set -eu
cd "$(dirname "$0")/.."

packages="g++ cmake ninja-build pkg-config git
  googletest libgtest-dev libbenchmark-dev
  libspng-dev nlohmann-json3-dev libcmark-gfm-dev libcmark-gfm-extensions-dev
  cmark-gfm
  mingw-w64 wine64
  chromium fonts-noto-cjk
  clang-format clang libclang-rt-14-dev"
# Debian's npm, unless this machine has npm from elsewhere (Node.js's own
# packages bring it within their nodejs).
command -v npm >/dev/null 2>&1 || packages="$packages npm"

installMissing() {
  missing=""
  for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      missing="$missing $package"
    fi
  done

  if [ -z "$missing" ]; then
    echo "ondrel: every package is installed"
    return
  fi

  if [ "$(id -u)" -eq 0 ]; then
    as_root=""
  elif command -v sudo >/dev/null 2>&1; then
    as_root="sudo"
  else
    echo "ondrel: these packages are missing and installing them needs root:$missing" >&2
    exit 1
  fi

  echo "ondrel: installing$missing"
  $as_root apt-get update -q
  DEBIAN_FRONTEND=noninteractive $as_root apt-get install -y -q --no-install-recommends $missing
}

installMissing
scripts/fetch-cmark-gfm-source.sh
scripts/fetch-drawing-assets.sh
