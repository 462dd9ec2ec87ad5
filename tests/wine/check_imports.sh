#!/usr/bin/env bash
# The exe may import from the system's own DLLs only, and none of the process-listing functions,
# which it binds at run time.
set -eu
objdump=$1 exe=$2
dump=$("$objdump" -p "$exe")
dlls=$(printf '%s\n' "$dump" | sed -n 's/^\s*DLL Name: //p' | tr 'a-z' 'A-Z' | sort -u)
echo "imports: " $dlls
status=0
for dll in $dlls; do
  case $dll in
    KERNEL32.DLL | MSVCRT.DLL | ADVAPI32.DLL | SHLWAPI.DLL) ;;
    *) echo "unexpected DLL: $dll"; status=1 ;;
  esac
done
for fn in CreateToolhelp32Snapshot Process32First Process32Next EnumProcesses EnumProcessModules \
          GetModuleBaseNameA K32EnumProcesses K32EnumProcessModules K32GetModuleBaseNameA; do
  if printf '%s\n' "$dump" | grep -qw "$fn"; then
    echo "imported, but must be bound at run time: $fn"; status=1
  fi
done
exit $status
