# The planted machine of the end-to-end tests and the demonstration: a Wine prefix holding a
# harmless stand-in of the trojan. Needs WINEPREFIX, STUB, PROBE, work and a fail
# function; sourced, not run.
windows=$WINEPREFIX/drive_c/windows
system=$windows/system32

w() { wine "$@" </dev/null 2>>"$work/wine.err"; }

# A new prefix with one server for all that follows, started first: a server that started later
# would run and delete the planted RunOnce values, as Windows does at start-up.
new_prefix() {
  mkdir -p "$WINEPREFIX"
  wineserver -p
  wine wineboot -i </dev/null >/dev/null 2>&1
}

running() { # prints how many processes run the named executable
  w "$PROBE" ps | tr -d '\r' >"$work/ps.txt"
  grep -c -i -x -F "$1" "$work/ps.txt"
}

wait_running() { # name count
  for _ in $(seq 1 150); do
    [ "$(running "$1")" -ge "$2" ] && return 0
    sleep 0.2
  done
  fail "$1 did not start"
}

start_program() { # a Windows path
  wine "$1" </dev/null >/dev/null 2>&1 &
}

plant_files() {
  cp "$STUB" "$windows/INETD.EXE"
  cp "$STUB" "$system/KERN32.EXE"
  printf 'not a library\n' >"$system/HKSDLL.DLL"
}

start_trojan() {
  start_program 'C:\windows\INETD.EXE'
  start_program 'C:\windows\system32\KERN32.EXE'
  wait_running INETD.EXE 1
  wait_running KERN32.EXE 1
}

runonce='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\RunOnce'
reg_set() { w reg add "$runonce" /v "$1" /d "$2" /f >>"$work/reg.txt"; }
reg_has() { w reg query "$runonce" >"$work/query.txt" && grep -q -i -w "$1" "$work/query.txt"; }
reg_lacks() { ! reg_has "$1"; }
use_win98() { w reg add 'HKCU\Software\Wine' /v Version /d win98 /f >>"$work/reg.txt"; }

