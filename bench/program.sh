#!/usr/bin/env bash
# The shipped exe's own cost under 32-bit Wine. Under emulation only ratios mean anything, so each
# figure is taken against a do-nothing 32-bit exe started the same way in the same run, runs
# alternating, medians: a clean NT run, and an infected NT run less its 2 s of pauses. A clean run
# should stay within 1.15 times the do-nothing exe. Then the CPU used while it waits at a prompt,
# and the exe's size and import table. Usage: [CLEANER=other.exe] bench/program.sh [runs] (default 11)
set -eu
cd "$(dirname "$0")/.."
runs=${1:-11}
build=build/windows
CLEANER=${CLEANER:-$build/fix_molivern.exe} STUB=$build/tests/wine/stub.exe PROBE=$build/tests/wine/probe.exe
NOTHING=$build/tests/wine/nothing.exe
[ -f "$NOTHING" ] || { echo "bench: build the windows preset with its Wine tests first" >&2; exit 1; }
work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'tmux -L bench_$$ kill-server 2>/dev/null; wineserver -k 2>/dev/null; wineserver -w 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "bench: $*" >&2; exit 1; }
. tests/wine/wine_machine.sh
new_prefix
w "$PROBE" ps >/dev/null

ms() { echo $(($(date +%s%N) / 1000000)); }
timed() { # prints the wall time of one run, in ms
  local t0
  t0=$(ms)
  "$@" >"$work/last.txt" || true
  echo $(($(ms) - t0))
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

for _ in $(seq "$runs"); do
  timed w "$NOTHING" >>"$work/nothing.ms"
  timed w "$CLEANER" >>"$work/clean.ms"
done
nothing=$(median <"$work/nothing.ms")
clean=$(median <"$work/clean.ms")
grep -q 'Your System is not infected' "$work/last.txt" || fail "the clean run did not run through"

for _ in $(seq "$(((runs + 1) / 2))"); do
  plant_files
  start_trojan
  reg_set Kernel32 'C:\windows\system32\KERN32.EXE'
  timed w "$NOTHING" >>"$work/nothing_infected.ms"
  timed w "$CLEANER" >>"$work/infected.ms"
  grep -q 'File C:\\windows\\system32\\HKSDLL.DLL deleted.' "$work/last.txt" ||
    fail "the infected run did not clean"
done
nothing_infected=$(median <"$work/nothing_infected.ms")
infected=$(median <"$work/infected.ms")

echo "medians of $runs alternating runs (ms): do-nothing exe $nothing, clean NT run $clean"
echo "clean NT run / do-nothing exe: $(ratio "$clean" "$nothing") (target 1.15 or less)"
echo "infected NT run, less its 2000 ms of pauses / do-nothing exe:" \
  "$(ratio $((infected - 2000)) "$nothing_infected") ($infected ms against $nothing_infected ms)"

cpu_ticks() { # utime+stime of the processes whose command line names the exe
  local total=0
  for pid in $(pgrep -f "$1" || true); do
    total=$((total + $(awk '{ print $14 + $15 }' "/proc/$pid/stat" 2>/dev/null || echo 0)))
  done
  echo $total
}
t() { tmux -L bench_$$ "$@"; }
t new-session -d -s wait -x 100 -y 50 "WINEPREFIX='$WINEPREFIX' WINEDEBUG=-all wine '$CLEANER'; sleep 30"
for _ in $(seq 1 100); do
  t capture-pane -p -t wait | grep -q 'Press any key to continue' && break
  sleep 0.1
done
sleep 1
[ -n "$(pgrep -f fix_molivern.exe)" ] || fail "the waiting program was not found"
echo "waiting processes: $(pgrep -f -l 'fix_molivern.exe|conhost.exe' | awk '{ print $2 }' | sort | uniq -c | xargs)"
before=$(cpu_ticks fix_molivern.exe) console_before=$(cpu_ticks conhost.exe)
sleep 5
after=$(cpu_ticks fix_molivern.exe) console_after=$(cpu_ticks conhost.exe)
hz=$(getconf CLK_TCK)
echo "waiting 5 s at a prompt: $(( (after - before) * 1000 / hz )) ms CPU in the program, $(( (console_after - console_before) * 1000 / hz )) ms in Wine's console host"
t send-keys -t wait a
t send-keys -t wait b

echo "$CLEANER: $(stat -c %s "$CLEANER") bytes, imports:" \
  $(i686-w64-mingw32-objdump -p "$CLEANER" | sed -n 's/^\s*DLL Name: //p')
