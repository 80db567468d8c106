# Sourced by the Markdown scripts: the two programs they compare, from the
# build folder in $build, which must hold them.
ondrel_md=$build/tools/ondrel_md/ondrel-md
md4c_render=$build/bench/md4c-render
for program in "$ondrel_md" "$md4c_render"; do
  if [ ! -x "$program" ]; then
    echo "ondrel: $program is missing; build first (cmake --build --preset native)" >&2
    exit 1
  fi
done
