#!/usr/bin/env bash
# Two builds of the same sources, in two directories, give the same bytes: a user can rebuild the
# program and compare it with the copy in hand. No path of the build machine is in the file.
set -eu
source_dir=$1 exe=$2
work=$(mktemp -d /tmp/fix_molivern_rebuild.XXXXXX)
trap 'rm -rf "$work"' EXIT
copy=$work/elsewhere/fix_molivern
mkdir -p "$copy"
# The sources as they stand, without the build trees.
(cd "$source_dir" && tar --exclude=./build --exclude=./.git -cf - .) | tar -xf - -C "$copy"
(cd "$copy" && cmake --preset windows -DFIX_MOLIVERN_WINE_TESTS=OFF) >"$work/configure.log"
cmake --build "$copy/build/windows" --target fix_molivern -j "$(nproc)" >"$work/build.log"
second=$copy/build/windows/fix_molivern.exe
if ! cmp "$exe" "$second"; then
  echo "the second build differs:"
  cmp -l "$exe" "$second" | head -20
  exit 1
fi
for path in "$source_dir" "$(dirname "$exe")" "$work" "$HOME"; do
  if grep -a -q -F "$path" "$exe"; then
    echo "the exe holds a path of the build machine: $path"
    exit 1
  fi
done
echo "built again in $copy: byte-identical ($(sha256sum <"$exe" | cut -d' ' -f1))"
