// The process-listing functions of the running family, bound at run time by KillProcessByPath.
// They are not imported: the Win9x and NT ones live in different libraries, and each family
// lacks the other's.
#pragma once

#include "platform/platform.h"

using CreateToolhelp32SnapshotFunction = HANDLE(WINAPI*)(DWORD flags, DWORD processId);
using Process32Function = BOOL(WINAPI*)(HANDLE snapshot, PROCESSENTRY32* entry);
using EnumProcessesFunction = BOOL(WINAPI*)(DWORD* ids, DWORD bytes, DWORD* bytesReturned);
using EnumProcessModulesFunction = BOOL(WINAPI*)(HANDLE process, HMODULE* modules, DWORD bytes,
                                                 DWORD* bytesNeeded);
using GetModuleBaseNameFunction = DWORD(WINAPI*)(HANDLE process, HMODULE module, LPSTR name,
                                                 DWORD size);

struct ProcessListing {
  HMODULE library;  // loaded for good: never released
  CreateToolhelp32SnapshotFunction createToolhelp32Snapshot;
  Process32Function process32First;
  Process32Function process32Next;
  EnumProcessesFunction enumProcesses;
  EnumProcessModulesFunction enumProcessModules;
  GetModuleBaseNameFunction getModuleBaseName;
};

extern ProcessListing processListing;
