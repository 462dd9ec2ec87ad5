#!/usr/bin/env bash
# The exe imports only from the DLLs that every machine from Windows 95 OSR2 and NT 4.0 on has.
# What only some machines have (SHLWAPI, PSAPI) or only one family (the Toolhelp functions) is
# bound at run time by name: those names must stand in the exe as strings, and not be imported.
set -eu
objdump=$1 exe=$2
dump=$("$objdump" -p "$exe")
dlls=$(printf '%s\n' "$dump" | sed -n 's/^\s*DLL Name: //p' | tr 'a-z' 'A-Z' | sort -u)
echo "imports:" $dlls
status=0
for dll in $dlls; do
  case $dll in
    KERNEL32.DLL | MSVCRT.DLL | ADVAPI32.DLL) ;;
    *) echo "imports a DLL that not every machine has: $dll"; status=1 ;;
  esac
done
bound=(SHLWAPI.DLL SHDeleteValueA KERNEL32.DLL CreateToolhelp32Snapshot Process32First
       Process32Next PSAPI.DLL EnumProcesses EnumProcessModules GetModuleBaseNameA)
for name in "${bound[@]}"; do
  case $name in *.DLL) continue ;; esac
  if printf '%s\n' "$dump" | grep -qw "$name"; then
    echo "imported, but must be bound at run time: $name"; status=1
  fi
done
mapfile -t texts < <(strings -a "$exe")
for name in "${bound[@]}"; do
  if ! printf '%s\n' "${texts[@]}" | grep -qx -F "$name"; then
    echo "not in the exe as a name to bind: $name"; status=1
  fi
done
[ $status = 0 ] && echo "bound at run time: ${bound[*]}"
exit $status
