#!/usr/bin/env bash
# Every test: the logic on the simulated machine (plain, with sanitizers, fuzzed, statically
# checked), then the Windows program under Wine.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
. scripts/wine-build.sh
jobs=$(nproc)

cmake --preset native
cmake --build --preset native -j "$jobs"
ctest --preset native
scripts/static-checks.sh

cmake --preset sanitize
cmake --build --preset sanitize -j "$jobs"
ctest --preset sanitize

cmake --preset fuzz
cmake --build --preset fuzz -j "$jobs"
ctest --preset fuzz

# The product, whose import table is checked even where Wine runs the other build.
if [ "$wine_preset" = windows ]; then wine_tests=ON; else wine_tests=OFF; fi
scenarios=$PWD/build/native/tests/standin_scenarios
cmake --preset windows -DFIX_MOLIVERN_WINE_TESTS=$wine_tests -DSTANDIN_SCENARIOS="$scenarios"
cmake --build --preset windows -j "$jobs"
ctest --preset windows

if [ "$wine_preset" = windows64 ]; then
  cmake --preset windows64 -DSTANDIN_SCENARIOS="$scenarios"
  cmake --build --preset windows64 -j "$jobs"
  ctest --preset windows64
fi
