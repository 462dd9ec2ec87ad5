#!/usr/bin/env bash
# Formatting, clang-tidy and cppcheck over the logic; needs the native build's compile commands.
set -eu
cd "$(dirname "$0")/.."
logic=(src/console/*.cpp src/cleaning/*.cpp src/terminator/*.cpp src/platform/system_family.cpp)
mapfile -t sources < <(git ls-files '*.cpp' '*.h' 2>/dev/null || find src tests -name '*.[ch]*')
clang-format --dry-run -Werror "${sources[@]}"
echo "clang-format: ${#sources[@]} files formatted"
clang-tidy -p build/native --quiet "${logic[@]}" 2>/dev/null
echo "clang-tidy: ${#logic[@]} files clean"
cppcheck --quiet --enable=warning,style,performance,portability --error-exitcode=1 \
  --inline-suppr --std=c++17 -I src src/console src/cleaning src/terminator \
  src/platform/system_family.cpp
echo "cppcheck: clean"
