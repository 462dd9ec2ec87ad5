#!/usr/bin/env bash
# The program's own cost under Wine, each figure against a do-nothing exe started the same way in
# the same run: a clean run's extra time; an infected NT run's time less its 2 s of pauses; the CPU
# time used while it waits 5 s at a prompt in a terminal; the exe's size and import table.
set -eu
cd "$(dirname "$0")/.."
. scripts/wine-build.sh
CLEANER=$build/fix_molivern.exe STUB=$build/tests/wine/stub.exe PROBE=$build/tests/wine/probe.exe
NOTHING=$build/tests/wine/nothing.exe
work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEARCH=$arch WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'tmux -L bench_$$ kill-server 2>/dev/null; wineserver -k 2>/dev/null; wineserver -w 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "bench: $*" >&2; exit 1; }
. tests/wine/wine_machine.sh
"$WINE_LOADER" wineboot -i </dev/null >/dev/null 2>&1
w "$PROBE" ps >/dev/null

ms() { echo $(( $(date +%s%N) / 1000000 )); }
median_ms() { # runs the command 5 times, prints the median wall time
  for _ in 1 2 3 4 5; do
    local t0; t0=$(ms); "$@" >/dev/null || true; echo $(( $(ms) - t0 ))
  done | sort -n | sed -n 3p
}

nothing=$(median_ms w "$NOTHING")
clean=$(median_ms w "$CLEANER")
echo "do-nothing exe:         $nothing ms (median of 5)"
echo "clean run:              $clean ms, extra $((clean - nothing)) ms"

plant_files
start_trojan
reg_set Kernel32 'C:\windows\system32\KERN32.EXE'
t0=$(ms); w "$CLEANER" >"$work/infected.txt" || true; infected=$(( $(ms) - t0 ))
grep -q 'File C:\\windows\\system32\\HKSDLL.DLL deleted.' "$work/infected.txt" || fail "the infected run did not clean"
echo "infected NT run:        $infected ms, less 2000 ms of pauses: $((infected - 2000)) ms, less the do-nothing exe: $((infected - 2000 - nothing)) ms"

cpu_ticks() { # utime+stime of the processes whose command line names the exe
  local total=0
  for pid in $(pgrep -f "$1" || true); do
    total=$((total + $(awk '{ print $14 + $15 }' "/proc/$pid/stat" 2>/dev/null || echo 0)))
  done
  echo $total
}
t() { tmux -L bench_$$ "$@"; }
t new-session -d -s wait -x 100 -y 50 "WINEPREFIX='$WINEPREFIX' WINEDEBUG=-all '$WINE_LOADER' '$CLEANER'; sleep 30"
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

for exe in build/windows/fix_molivern.exe "$CLEANER"; do
  [ -f "$exe" ] || continue
  objdump=i686-w64-mingw32-objdump
  [ "$(file -b "$exe" | grep -c x86-64)" = 1 ] && objdump=x86_64-w64-mingw32-objdump
  echo "$exe: $(stat -c %s "$exe") bytes, imports:" \
    $($objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
done
