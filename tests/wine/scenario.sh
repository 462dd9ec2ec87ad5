#!/usr/bin/env bash
# One end-to-end scenario on the real executable under Wine: plant a machine state in a copy of the
# template prefix, run, and compare the whole transcript, the exit status and the state afterwards.
# Output of Wine calls goes to files, never pipes: Wine's services inherit it and outlive the call.
set -u
scenario=$1
work=$WINE_WORK/$scenario
rm -rf "$work"
mkdir -p "$work"
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cp -a "$WINE_WORK/template" "$WINEPREFIX"
tmux_socket=fix_molivern_$$
# One server for the whole scenario: each time a prefix's server starts, Wine runs and deletes the
# RunOnce values, as Windows does at start-up, and a server that idled out between planting and
# checking would take the planted values with it.
if ! wineserver -p; then
  echo "FAIL ($scenario): no persistent Wine server for $WINEPREFIX"
  exit 1
fi

cleanup() {
  tmux -L "$tmux_socket" kill-server 2>/dev/null
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT

failures=0
fail() {
  echo "FAIL ($scenario): $*"
  failures=$((failures + 1))
}

. "$(dirname "$0")/wine_machine.sh"

run_cleaner() { # expected status, expected text after the banner
  local started finished
  started=$(date +%s%N)
  WINEDLLOVERRIDES=${cleaner_dll_overrides:-$WINEDLLOVERRIDES} w "$CLEANER" >"$work/out.txt"
  status=$?
  finished=$(date +%s%N)
  echo "cleaner ran $(((finished - started) / 1000000)) ms, exit status $status"
  [ "$status" = "$1" ] || fail "exit status $status, expected $1"
  { cat "$EXPECTED/banner.txt"; printf '%s' "$2"; } >"$work/expected.txt"
  if ! cmp -s "$work/expected.txt" "$work/out.txt"; then
    fail "transcript differs"
    diff <(cat -A "$work/expected.txt") <(cat -A "$work/out.txt")
  fi
}

bit() { "$@" && echo 1 || echo 0; }

# The same scenario on the simulated machine: its transcript and end state must be Wine's.
differential() {
  if [ -z "${STANDIN_SCENARIOS:-}" ]; then
    echo "differential: not compared (this build was configured without STANDIN_SCENARIOS)"
    return
  fi
  "$STANDIN_SCENARIOS" "$scenario" >"$work/standin.txt" || fail "the simulated machine could not play $scenario"
  {
    cat "$work/out.txt"
    printf '\n--- state\nexit status %s\n' "$status"
    echo "running INETD.EXE $(running INETD.EXE) KERN32.EXE $(running KERN32.EXE)"
    echo "files INETD.EXE $(bit test -e "$windows/INETD.EXE") KERN32.EXE $(bit test -e "$system/KERN32.EXE") HKSDLL.DLL $(bit test -e "$system/HKSDLL.DLL")"
    echo "RunOnce Kernel32 $(bit reg_has Kernel32) Other $(bit reg_has Other)"
    w "$PROBE" ini-get | tr -d '\r' | sed 's/^/run /'
  } >"$work/wine_state.txt"
  if cmp -s "$work/standin.txt" "$work/wine_state.txt"; then
    echo "differential: the simulated machine agrees with Wine"
  else
    fail "the simulated machine and Wine differ"
    diff "$work/standin.txt" "$work/wine_state.txt"
  fi
}

expect() { # description, command...
  local what=$1
  shift
  "$@" || fail "$what"
}

not_infected=$'\nYour System is not infected\nPress any key to exit'
registry_not_found=$'\nChecking Registry Entry...\n\tRemoving Registry Key Failed/NotFound.'
registry_cleaned=$'\nChecking Registry Entry...\nCleaning Registry...\n\tRegistry Cleaned.'
inetd='C:\windows\INETD.EXE'
kern32='C:\windows\system32\KERN32.EXE'
hksdll='C:\windows\system32\HKSDLL.DLL'
finish=$'\n\nFinish cleaning your system.\nPress any key to exit'

# The removal's texts for one program: killing outcome and deleting outcome.
program_texts() { # path, dots after the killing text, kill outcome, delete outcome
  printf '\nKilling the Process %s...%s%s\nDeleting file %s...%s' "$1" "$2" "$3" "$1" "$4"
}
deleted() { printf '\n\tFile %s deleted.' "$1"; }
missing=$'\n\tThe system cannot find the file specified.'
denied=$'\n\tAccess is denied.'
removed=$'\n\tProcess Removed in Memory.'
not_running=$'\n\tError Code: 18'
infected_texts() { # the outcome of deleting HKSDLL.DLL; the texts after the stage's
  printf '%s%s\nDeleting file %s...%s%s' "$(program_texts "$inetd" '' "$removed" "$(deleted "$inetd")")" \
    "$(program_texts "$kern32" '' "$removed" "$(deleted "$kern32")")" "$hksdll" "$1" "$finish"
}
value_only_texts="$registry_cleaned$(program_texts "$inetd" '' "$not_running" "$missing")$(program_texts "$kern32" '' "$not_running" "$missing")"$'\nDeleting file '"$hksdll...$missing$finish"

# A terminal: a tmux session runs `[feed] wine command` and shows its exit status.
t() { tmux -L "$tmux_socket" "$@"; }
screen_has() { t capture-pane -p -t keys >"$work/screen.txt" 2>/dev/null && grep -q -F "$1" "$work/screen.txt"; }
wait_screen() { # up to two minutes: a cold start under emulation takes seconds
  for _ in $(seq 1 600); do
    screen_has "$1" && return 0
    sleep 0.2
  done
  fail "never showed: $1"
  cat "$work/screen.txt"
}
session() { # text to wait for, command, optional feed
  t kill-session -t keys 2>/dev/null
  t new-session -d -s keys -x 100 -y 60 \
    "${3:-} WINEPREFIX='$WINEPREFIX' WINEDEBUG=-all wine $2; printf '\\nEXIT=%s\\n' \$?; sleep 600"
  wait_screen "$1"
}

w "$PROBE" ps >/dev/null 2>&1 # starts the prefix's services with their output going nowhere

case $scenario in
  nt_not_infected)
    plant_files
    reg_set Other 'C:\keep.exe'
    run_cleaner 0 "$registry_not_found$not_infected"
    expect "files untouched" test -f "$windows/INETD.EXE" -a -f "$system/KERN32.EXE" -a -f "$system/HKSDLL.DLL"
    expect "other value untouched" reg_has Other
    differential
    ;;

  nt_infected)
    plant_files
    start_trojan
    reg_set Kernel32 "$kern32"
    reg_set Other 'C:\keep.exe'
    run_cleaner 1 "$registry_cleaned$(infected_texts "$(deleted "$hksdll")")"
    tail -c +1252 "$work/out.txt"
    echo
    expect "INETD.EXE still running" test "$(running INETD.EXE)" = 0
    expect "KERN32.EXE still running" test "$(running KERN32.EXE)" = 0
    expect "files left" test ! -e "$windows/INETD.EXE" -a ! -e "$system/KERN32.EXE" -a ! -e "$system/HKSDLL.DLL"
    expect "Kernel32 value left" reg_lacks Kernel32
    expect "other value deleted" reg_has Other
    differential
    ;;

  nt_value_only)
    # Neither program runs and no file is there: the machine is clean once the value is gone.
    reg_set Kernel32 "$kern32"
    run_cleaner 1 "$value_only_texts"
    grep -A1 '^Killing' "$work/out.txt"
    differential
    ;;

  nt_without_shlwapi)
    # As on Windows NT 4.0 without a later browser: the value goes through ADVAPI32.
    plant_files
    start_trojan
    reg_set Kernel32 "$kern32"
    reg_set Other 'C:\keep.exe'
    cleaner_dll_overrides="mscoree,mshtml,shlwapi="
    WINEDLLOVERRIDES=$cleaner_dll_overrides w "$PROBE" load SHLWAPI.DLL &&
      fail "SHLWAPI still loads: this run would not show the way without it"
    run_cleaner 1 "$registry_cleaned$(infected_texts "$(deleted "$hksdll")")"
    expect "Kernel32 value left" reg_lacks Kernel32
    expect "other value deleted" reg_has Other
    expect "files left" test ! -e "$windows/INETD.EXE" -a ! -e "$system/KERN32.EXE"
    differential
    ;;

  nt_file_left)
    # A file that cannot be deleted: the output says which, the status says "visit this machine".
    plant_files
    chmod a-w "$system/HKSDLL.DLL"
    start_trojan
    reg_set Kernel32 "$kern32"
    reg_set Other 'C:\keep.exe'
    run_cleaner 3 "$registry_cleaned$(infected_texts "$denied")"
    expect "HKSDLL.DLL deleted after all" test -e "$system/HKSDLL.DLL"
    expect "Kernel32 value left" reg_lacks Kernel32
    differential
    ;;

  win98_infected)
    use_win98
    plant_files
    start_trojan
    w "$PROBE" ini-set 'c:\tools\tray.exe C:\WINDOWS\INETD.EXE   scanregw.exe' >/dev/null
    # Wine's snapshot names processes by file name alone, so the full-path walk finds no match;
    # the programs keep running and their files cannot be deleted: status 3.
    run_cleaner 3 $'\nChecking "WIN.INI"...\nCleaning "WIN.INI"...\n\t"WIN.INI" file Cleaned.'"$(program_texts "$inetd" '...' $'\n\tError Code: 18' "$denied")$(program_texts "$kern32" '...' $'\n\tError Code: 18' "$denied")"$'\nDeleting file '"$hksdll...$(deleted "$hksdll")$finish"
    w "$PROBE" ini-get >"$work/run.txt"
    expect "run line rewritten" test "$(tr -d '\r' <"$work/run.txt")" = 'C:\TOOLS\TRAY.EXE SCANREGW.EXE'
    expect "INETD.EXE runs on" test "$(running INETD.EXE)" = 1
    differential
    ;;

  win98_not_infected)
    use_win98
    w "$PROBE" ini-set 'c:\tools\tray.exe   scanregw.exe' >/dev/null
    plant_files
    run_cleaner 0 $'\nChecking "WIN.INI"...'"$not_infected"
    w "$PROBE" ini-get >"$work/run.txt"
    expect "run line left exactly as it was" test "$(tr -d '\r' <"$work/run.txt")" = 'c:\tools\tray.exe   scanregw.exe'
    expect "files untouched" test -f "$windows/INETD.EXE"
    differential
    ;;

  terminator_nt)
    plant_files
    cp "$STUB" "$windows/XINETD.EXE"
    start_program 'C:\windows\INETD.EXE'
    start_program 'C:\windows\INETD.EXE'
    start_program 'C:\windows\XINETD.EXE'
    wait_running INETD.EXE 2
    wait_running XINETD.EXE 1
    w "$KILL_DRIVER" 'C:\windows\INETD.EXE' | tr -d '\r' >"$work/kill.txt"
    expect "status 0 for a running program" grep -q -x 'status 0' "$work/kill.txt"
    expect "exactly one of two copies terminated" test "$(running INETD.EXE)" = 1
    expect "XINETD.EXE survives" test "$(running XINETD.EXE)" = 1
    w "$KILL_DRIVER" 'C:\nowhere\NOSUCH.EXE' | tr -d '\r' >"$work/kill.txt"
    expect "non-zero status for a name that runs nowhere" grep -q -x 'status [1-9][0-9]*' "$work/kill.txt"
    cat "$work/kill.txt"
    ;;

  terminator_win98)
    use_win98
    plant_files
    start_program 'C:\windows\INETD.EXE'
    wait_running INETD.EXE 1
    w "$KILL_DRIVER" 'C:\windows\INETD.EXE' >"$work/kill.txt"
    expect "the snapshot walk ends with 18" test "$(tr -d '\r' <"$work/kill.txt")" = $'...\nstatus 18'
    expect "nothing terminated" test "$(running INETD.EXE)" = 1
    ;;

  terminal_keys)
    session 'Press any key to continue....' "'$CLEANER'"
    sleep 2
    screen_has 'Checking Registry' && fail "went on without a key"
    t send-keys -t keys a
    wait_screen 'Press any key to exit'
    sleep 2
    screen_has 'EXIT=' && fail "ended without the final key"
    t send-keys -t keys b
    wait_screen 'EXIT=0'

    session 'Press any key to continue....' "'$CLEANER'"
    sleep 1
    t send-keys -t keys Up
    wait_screen 'EXIT=0' # the held second code of Up answers the final prompt
    ;;

  unattended)
    # In a terminal, as a script or a remote tool starts it: standard input that is not the console
    # ends both waits at once, with the output on the terminal, in a file, or both redirected.
    reg_set Other 'C:\keep.exe'
    { cat "$EXPECTED/banner.txt"; printf '%s\nEXIT=1\n' "$value_only_texts"; } | expand |
      sed 's/ *$//' >"$work/expected_screen.txt"
    { cat "$EXPECTED/banner.txt"; printf '%s' "$value_only_texts"; } >"$work/expected.txt"
    for how in 'terminal < /dev/null' 'file < /dev/null > out' 'pipe | into it'; do
      failures_before=$failures
      reg_set Kernel32 "$kern32"
      rm -f "$work/unattended.txt"
      case $how in
        terminal*) command="'$CLEANER' < /dev/null" ;;
        file*) command="'$CLEANER' < /dev/null > '$work/unattended.txt'" ;;
        pipe*) command="'$CLEANER' > '$work/unattended.txt'" feed="printf 'ab\\r\\n' |" ;;
      esac
      session 'EXIT=' "$command" "${feed:-}"
      screen_has 'EXIT=1' || fail "$how: exit status not 1"
      if [ -f "$work/unattended.txt" ]; then
        cmp -s "$work/expected.txt" "$work/unattended.txt" || {
          fail "$how: transcript differs"
          diff <(cat -A "$work/expected.txt") <(cat -A "$work/unattended.txt")
        }
      else
        sed -e :a -e '/^\n*$/{$d;N;ba' -e '}' "$work/screen.txt" >"$work/screen_trimmed.txt"
        cmp -s "$work/expected_screen.txt" "$work/screen_trimmed.txt" || {
          fail "$how: screen differs"
          diff "$work/expected_screen.txt" "$work/screen_trimmed.txt"
        }
      fi
      expect "$how: Kernel32 value left" reg_lacks Kernel32
      expect "$how: other value deleted" reg_has Other
      [ "$failures" = "$failures_before" ] && echo "$how: ended by itself, exit status 1"
    done
    ;;

  *)
    fail "no such scenario"
    ;;
esac

if [ "$failures" -ne 0 ]; then
  echo "$scenario: $failures failure(s)"
  exit 1
fi
echo "$scenario: passed"
