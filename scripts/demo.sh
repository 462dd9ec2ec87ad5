#!/usr/bin/env bash
# The main job: builds fix_molivern.exe and cleans a throwaway Wine machine that carries a harmless
# stand-in of the trojan (programs that only sleep, under its names; a dummy library; its autostart
# entry). NT mode by default; --win98 for Windows 98 mode. Interactive in a terminal.
set -eu
cd "$(dirname "$0")/.."
mode=nt
[ "${1:-}" = --win98 ] && mode=win98
scripts/install-deps.sh >/dev/null
cmake --preset windows -DFIX_MOLIVERN_WINE_TESTS=ON >/dev/null
cmake --build --preset windows -j "$(nproc)" >/dev/null
build=build/windows
CLEANER=$build/fix_molivern.exe STUB=$build/tests/wine/stub.exe PROBE=$build/tests/wine/probe.exe

work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null; wineserver -w 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "demo: $*" >&2; }
. tests/wine/wine_machine.sh

echo "Making a throwaway Windows machine ($mode mode)..."
new_prefix
[ $mode = win98 ] && use_win98
plant_files
start_trojan
if [ $mode = win98 ]; then
  w "$PROBE" ini-set 'C:\WINDOWS\SYSTEM\SCANREGW.EXE C:\WINDOWS\INETD.EXE' >/dev/null
else
  reg_set Kernel32 'C:\windows\system32\KERN32.EXE'
fi

show_state() {
  echo "---- $1 ----"
  printf 'programs running:'
  for program in INETD.EXE KERN32.EXE; do
    [ "$(running $program)" -gt 0 ] && printf ' %s' $program
  done
  printf '\nfiles present:'
  for file in "$windows/INETD.EXE" "$system/KERN32.EXE" "$system/HKSDLL.DLL"; do
    [ -e "$file" ] && printf ' %s' "${file#"$WINEPREFIX"/drive_c/}"
  done
  if [ $mode = win98 ]; then
    printf '\nWIN.INI run line: %s\n' "$(w "$PROBE" ini-get | tr -d '\r')"
  else
    w reg query 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\RunOnce' >"$work/query.txt"
    printf '\nRunOnce values:\n%s\n' "$(tr -d '\r' <"$work/query.txt" | grep REG_ || echo '    (none)')"
  fi
  echo "-------------------------"
}

show_state "before"
if [ -t 0 ]; then
  wine "$CLEANER" 2>/dev/null && status=0 || status=$?
else
  wine "$CLEANER" </dev/null 2>/dev/null && status=0 || status=$?
fi
printf '\n\nfix_molivern.exe exit status: %s\n' "$status"
show_state "after"
