// The trojan itself: two programs that may be running and one library.
#include "cleaning/cleaner.h"
#include "cleaning/directories.h"
#include "console/output.h"
#include "console/system_error.h"
#include "terminator/terminator.h"

namespace {

// Gives the terminated program time to go before its file is deleted.
const DWORD kPauseAfterTerminate = 1000;

void TerminateStep(const char* directory, const char* fileName) {
  char targetPath[kPathSize];
  const bool built = BuildTargetPath(targetPath, directory, fileName);
  WriteTextWith("\nKilling the Process ", targetPath, "...");
  const DWORD status = built ? KillProcessByPath(targetPath) : ERROR_FILENAME_EXCED_RANGE;
  if (status == 0) {
    WriteText("\n\tProcess Removed in Memory.");
  } else {
    ReportSystemError(status);
  }
  Sleep(kPauseAfterTerminate);
}

// True when the file is gone: deleted now, or not there to begin with.
bool DeleteStep(const char* directory, const char* fileName) {
  char targetPath[kPathSize];
  const bool built = BuildTargetPath(targetPath, directory, fileName);
  WriteTextWith("\nDeleting file ", targetPath, "...");
  if (!built) {
    ReportSystemError(ERROR_FILENAME_EXCED_RANGE);
    return false;
  }
  if (DeleteFileA(targetPath)) {
    WriteTextWith("\n\tFile ", targetPath, " deleted.");
    return true;
  }
  const DWORD code = GetLastError();
  ReportSystemError(code);
  return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND;
}

}  // namespace

bool RemoveTrojanFiles() {
  char windowsDir[kPathSize];
  char systemDir[kPathSize];

  const char* windows =
      GetDirectoryWithSlash(GetWindowsDirectoryA, windowsDir) ? windowsDir : nullptr;
  TerminateStep(windows, "INETD.EXE");
  bool allGone = DeleteStep(windows, "INETD.EXE");

  const char* system = GetDirectoryWithSlash(GetSystemDirectoryA, systemDir) ? systemDir : nullptr;
  TerminateStep(system, "KERN32.EXE");
  allGone = DeleteStep(system, "KERN32.EXE") && allGone;
  allGone = DeleteStep(system, "HKSDLL.DLL") && allGone;

  WriteText("\n\nFinish cleaning your system.");
  return allGone;
}
