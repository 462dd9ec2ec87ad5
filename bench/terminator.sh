#!/usr/bin/env bash
# The NT walk against Wine's own taskkill: with N stub processes running in one prefix (the last
# started is INETD.EXE), the time to terminate INETD.EXE through kill_driver.exe, which is
# KillProcessByPath alone, and through `taskkill /IM INETD.EXE /F`, in the same run.
# Usage: bench/terminator.sh [counts...]   (default 20 100 200); needs a windows build with Wine tests.
set -eu
cd "$(dirname "$0")/.."
build=build/windows
STUB=$build/tests/wine/stub.exe PROBE=$build/tests/wine/probe.exe KILL=$build/tests/wine/kill_driver.exe
work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null; wineserver -w 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "bench: $*" >&2; exit 1; }
. tests/wine/wine_machine.sh
new_prefix
cp "$STUB" "$windows/IDLE.EXE"
cp "$STUB" "$windows/INETD.EXE"

ms() { echo $(( $(date +%s%N) / 1000000 )); }
timed() { local t0; t0=$(ms); "$@" >/dev/null; echo $(( $(ms) - t0 )); }
idle=0
printf '%8s %12s %14s %8s %16s\n' processes walk_ms taskkill_ms ratio walk_us_per_proc
for count in "${@:-20 100 200}"; do
  for n in $count; do
    while [ $idle -lt $((n - 1)) ]; do start_program 'C:\windows\IDLE.EXE'; idle=$((idle + 1)); done
    wait_running IDLE.EXE $((n - 1))
    start_program 'C:\windows\INETD.EXE'
    wait_running INETD.EXE 1
    walk=$(timed w "$KILL" 'C:\windows\INETD.EXE')
    [ "$(running INETD.EXE)" = 0 ] || fail "the walk did not terminate INETD.EXE"
    start_program 'C:\windows\INETD.EXE'
    wait_running INETD.EXE 1
    taskkill=$(timed w taskkill /IM INETD.EXE /F)
    [ "$(running INETD.EXE)" = 0 ] || fail "taskkill did not terminate INETD.EXE"
    total=$(running '' || true)
    all=$(wc -l <"$work/ps.txt")
    printf '%8s %12s %14s %8s %16s\n' "$all" "$walk" "$taskkill" \
      "$(awk -v a="$walk" -v b="$taskkill" 'BEGIN { printf "%.2f", a / b }')" \
      "$(awk -v a="$walk" -v n="$all" 'BEGIN { printf "%.0f", a * 1000 / n }')"
  done
done
