// The NT walk: the process list gives only ids, so each process is asked for its first module,
// the executable, and that module's file name.
#include "console/text.h"
#include "terminator/process_listing.h"
#include "terminator/terminator.h"

namespace {

const DWORD kMaxProcesses = 1024;
const DWORD kAccess = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_TERMINATE;

// True when the process's executable is called `bareName`. A process whose name cannot be read
// is never taken for a match.
bool RunsModule(HANDLE process, const char* bareName, char (&processName)[MAX_PATH]) {
  HMODULE module = nullptr;
  DWORD bytesNeeded = 0;
  // Room for one module handle: the first a process lists is its executable.
  if (!processListing.enumProcessModules(process, &module,
                                         sizeof(module),  // NOLINT(bugprone-sizeof-expression)
                                         &bytesNeeded)) {
    return false;
  }
  if (processListing.getModuleBaseName(process, module, processName, sizeof(processName)) == 0) {
    return false;
  }
  return EqualIgnoringAsciiCase(bareName, processName);
}

}  // namespace

DWORD KillProcessByModuleName(const char* bareName) {
  char processName[MAX_PATH] = "ProcessName";
  DWORD processIds[kMaxProcesses];
  DWORD bytesReturned = 0;
  if (!processListing.enumProcesses(processIds, sizeof(processIds), &bytesReturned)) {
    return GetLastError();
  }
  const DWORD count = bytesReturned / sizeof(DWORD);
  for (DWORD i = 0; i < count; ++i) {
    HANDLE process = OpenProcess(kAccess, FALSE, processIds[i]);
    if (!process) {
      continue;
    }
    if (!RunsModule(process, bareName, processName)) {
      CloseHandle(process);
      continue;
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(process, &exitCode);
    const DWORD status = TerminateProcess(process, exitCode) ? 0 : GetLastError();
    CloseHandle(process);
    return status;
  }
  // Not the last error: that belongs to whichever unrelated process could not be opened or named,
  // and would explain "not running" as, say, an invalid handle.
  return ERROR_NO_MORE_FILES;
}
