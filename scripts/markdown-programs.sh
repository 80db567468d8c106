# Sourced by the Markdown scripts: the programs they compare. ondrel-md comes from the build
# folder in $build, which must hold it; cmark_gfm is Debian's cmark-gfm program with the
# extensions and options that ondrel-md --gfm promises.
ondrel_md=$build/tools/ondrel_md/ondrel-md
if [ ! -x "$ondrel_md" ]; then
  echo "ondrel: $ondrel_md is missing; build first (cmake --build --preset native)" >&2
  exit 1
fi
if ! command -v cmark-gfm >/dev/null 2>&1; then
  echo "ondrel: cmark-gfm is missing; install it with scripts/install-dependencies.sh" >&2
  exit 1
fi
cmark_gfm="cmark-gfm --unsafe -e table -e strikethrough -e autolink -e tasklist -e tagfilter -e footnotes"
