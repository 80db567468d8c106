#!/bin/sh
# Fetches cmark-gfm's source from Debian's source archive for the Windows
# build, which compiles it with MinGW-w64 and links it statically; see --help.
set -eu

version=0.29.0.gfm.6
tarball=cmark-gfm_$version.orig.tar.gz
apt_dir=${ONDREL_APT_DIR:-/etc/apt}

usage() {
  cat <<EOF
Usage: scripts/fetch-cmark-gfm-source.sh [DEST]

Downloads $tarball
(cmark-gfm $version, GitHub's Markdown parser) from Debian's source
archive into DEST (default: build/cmark-gfm-source in the checkout), where
the windows preset looks for it. Does nothing when DEST already holds it.

The archive is reached through apt-get with a private configuration: this
machine's package sources ($apt_dir/sources.list, $apt_dir/sources.list.d/)
are read, turned into source entries in a temporary folder and used there;
nothing under $apt_dir or /var is changed, and root is not needed.
ONDREL_APT_DIR names another folder to read the package sources from.

Exit status: 0 when the tarball is in DEST, 1 when it could not be fetched,
2 for a bad command line.
EOF
}

fail() {
  echo "ondrel: $*" >&2
  exit 1
}

# Source entries for every binary entry of this machine's package sources:
# "deb URL suite ..." lines become "deb-src URL suite ...", deb822 stanzas
# get "Types: deb-src". Existing deb-src entries are dropped as duplicates.
writeSourceEntries() {
  for list in "$apt_dir/sources.list" "$apt_dir"/sources.list.d/*.list; do
    [ -f "$list" ] || continue
    sed -n 's/^[[:space:]]*deb[[:space:]]\{1,\}/deb-src /p' "$list"
  done | awk '!seen[$0]++' >"$1/machine.list"
  [ -s "$1/machine.list" ] || rm "$1/machine.list"
  for stanzas in "$apt_dir"/sources.list.d/*.sources; do
    [ -f "$stanzas" ] || continue
    sed 's/^Types:.*/Types: deb-src/I' "$stanzas" >"$1/$(basename "$stanzas")"
  done
}

privateApt() {
  apt-get -q \
    -o Dir::Etc::SourceList=/dev/null \
    -o Dir::Etc::SourceParts="$work/sources" \
    -o Dir::State::Lists="$work/lists" \
    -o Dir::Cache="$work/cache" \
    "$@"
}

# apt downloads as the user _apt when run as root: let it reach the work
# folder and write where it downloads.
letAptWrite() {
  if [ "$(id -u)" -eq 0 ] && id _apt >/dev/null 2>&1; then
    chmod 755 "$work"
    chown _apt "$@"
  fi
}

case ${1:-} in
  -h | --help)
    usage
    exit 0
    ;;
  -*)
    echo "ondrel: unknown option $1 (see --help)" >&2
    exit 2
    ;;
esac
if [ $# -gt 1 ]; then
  echo "ondrel: give at most one folder (see --help)" >&2
  exit 2
fi

dest=${1:-$(cd "$(dirname "$0")/.." && pwd)/build/cmark-gfm-source}
if [ -f "$dest/$tarball" ]; then
  echo "ondrel: cmark-gfm's source is already in $dest/$tarball"
  exit 0
fi
command -v apt-get >/dev/null 2>&1 || fail "apt-get is missing; put $tarball into $dest by hand"
mkdir -p "$dest" 2>/dev/null || fail "cannot make the folder $dest"
dest=$(cd "$dest" && pwd)

# The work folder sits in DEST so that the finished tarball moves in at once:
# an interrupted run never leaves a partial tarball behind.
work=$(mktemp -d "$dest/.fetch-XXXXXX") || fail "cannot write into $dest"
trap 'rm -rf "$work"' EXIT
trap 'exit 1' HUP INT TERM
mkdir -p "$work/sources" "$work/lists/partial" "$work/cache/archives/partial" "$work/download"
letAptWrite "$work/lists/partial" "$work/download"

writeSourceEntries "$work/sources"
if [ -z "$(ls "$work/sources")" ]; then
  fail "no package sources in $apt_dir/sources.list or $apt_dir/sources.list.d/"
fi

echo "ondrel: fetching cmark-gfm $version's source from Debian's source archive"
# A source that offers no source index (a third-party one) fails its part of
# the update; cmark-gfm's source may still be found, so only the next step decides.
if ! privateApt update >"$work/update.log" 2>&1; then
  grep -h '^[EW]:' "$work/update.log" >&2 || true
fi
if ! (cd "$work/download" && privateApt source --download-only --tar-only cmark-gfm) \
  >"$work/source.log" 2>&1; then
  grep -h '^[EW]:' "$work/update.log" "$work/source.log" >&2 || true
  fail "Debian's source archive gave no cmark-gfm $version (apt-get's messages are above)"
fi
[ -f "$work/download/$tarball" ] || fail "Debian's source archive has cmark-gfm $version but no $tarball"
mv "$work/download/$tarball" "$dest/$tarball"
echo "ondrel: cmark-gfm's source is in $dest/$tarball"
