#!/usr/bin/env bash
# Every test: the logic on the simulated machine (plain, with sanitizers, fuzzed, statically
# checked), then the shipped 32-bit exe under 32-bit Wine.
set -eu
cd "$(dirname "$0")/.."
started=$(date +%s)
scripts/install-deps.sh
echo "setup: $(($(date +%s) - started)) s"
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

# The product, and every Wine test on it; the native build plays the same scenarios for the
# differential check.
cmake --preset windows -DSTANDIN_SCENARIOS="$PWD/build/native/tests/standin_scenarios"
cmake --build --preset windows -j "$jobs"
exe=build/windows/fix_molivern.exe
echo "the Wine tests run $PWD/$exe, the file users get:" \
  "$(i686-w64-mingw32-objdump -f "$exe" | sed -n 's/.*file format //p'), $(stat -c %s "$exe") bytes," \
  "under $(wine --version) in 32-bit prefixes"
ctest --preset windows
echo "all tests: $(($(date +%s) - started)) s"
