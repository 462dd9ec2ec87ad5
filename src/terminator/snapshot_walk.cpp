// The Win9x walk: a snapshot of the process list names each process by its executable's full path.
#include "console/output.h"
#include "console/text.h"
#include "terminator/process_listing.h"
#include "terminator/terminator.h"

static_assert(sizeof(void*) != 4 || sizeof(PROCESSENTRY32) == 296,
              "the 32-bit process entry record");

namespace {

// Time for a program that is just starting up to settle before it is opened, and for one that
// is on its way out to finish by itself.
const DWORD kPauseBeforeOpen = 1000;
const DWORD kWaitBeforeTerminate = 4000;

DWORD TerminateListedProcess(DWORD processId) {
  Sleep(kPauseBeforeOpen);
  HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, processId);
  if (!process) {
    return GetLastError();
  }
  DWORD exitCode = 0;
  GetExitCodeProcess(process, &exitCode);
  WaitForSingleObject(process, kWaitBeforeTerminate);
  const DWORD status = TerminateProcess(process, exitCode) ? 0 : GetLastError();
  CloseHandle(process);
  return status;
}

// The end of the list: the code with which reading the next entry failed, and never 0, which
// would read as success.
DWORD NothingTerminated() {
  const DWORD code = GetLastError();
  return code != 0 ? code : static_cast<DWORD>(ERROR_NO_MORE_FILES);
}

}  // namespace

DWORD KillProcessBySnapshot(const char* path) {
  WriteText("...");
  char workingCopy[1024];
  CopyText(workingCopy, path);

  HANDLE snapshot = processListing.createToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) {
    return GetLastError();
  }
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof(entry);
  BOOL listed = processListing.process32First(snapshot, &entry);
  if (!listed) {
    const DWORD code = GetLastError();
    CloseHandle(snapshot);
    return code;
  }
  while (listed && !EqualIgnoringAsciiCase(entry.szExeFile, workingCopy)) {
    listed = processListing.process32Next(snapshot, &entry);
  }
  const DWORD status = listed ? TerminateListedProcess(entry.th32ProcessID) : NothingTerminated();
  CloseHandle(snapshot);
  return status;
}
