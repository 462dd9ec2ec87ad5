// The Win9x autostart stage: the `run` line of WIN.INI lists programs to start, separated by
// spaces.
#include <cstring>

#include "cleaning/cleaner.h"
#include "cleaning/directories.h"
#include "console/output.h"
#include "console/system_error.h"
#include "console/text.h"

namespace {

const char kSection[] = "WINDOWS";
const char kKey[] = "run";
const char kProfile[] = "WIN.INI";
const char kAbsent[] = "EMPTY";

// The next space-separated entry of the text at `cursor`, terminated in place; null at the end.
char* NextEntry(char*& cursor) {
  while (*cursor == ' ') {
    ++cursor;
  }
  if (*cursor == '\0') {
    return nullptr;
  }
  char* entry = cursor;
  while (*cursor != ' ' && *cursor != '\0') {
    ++cursor;
  }
  if (*cursor == ' ') {
    *cursor++ = '\0';
  }
  return entry;
}

}  // namespace

AutostartEntry CleanWinIniRunLine() {
  char runValue[kPathSize];
  char cleanedValue[kPathSize];
  char windowsDir[kPathSize];
  char trojanPath[kPathSize];

  WriteText("\nChecking \"WIN.INI\"...");
  const DWORD length =
      GetPrivateProfileStringA(kSection, kKey, kAbsent, runValue, sizeof(runValue), kProfile);
  // A value that fills the buffer may have been cut short; written back, its tail would be lost.
  const bool mayBeCut = length >= sizeof(runValue) - 1;
  UpperCaseAscii(runValue);
  CopyText(cleanedValue, " ");
  const bool pathFits = GetDirectoryWithSlash(GetWindowsDirectoryA, windowsDir) &&
                        BuildTargetPath(trojanPath, windowsDir, "INETD.EXE");
  if (std::strcmp(runValue, kAbsent) == 0) {
    return AutostartEntry::NotFound;
  }

  bool found = false;
  bool keptAny = false;
  char* cursor = runValue;
  while (char* entry = NextEntry(cursor)) {
    // Both sides in any case: the system reports the directory as it likes, and the entry is
    // upper-cased already.
    if (pathFits && EqualIgnoringAsciiCase(entry, trojanPath)) {
      found = true;
      continue;
    }
    // Never longer than runValue, so it always fits; the first entry replaces the initial " ".
    if (keptAny) {
      AppendText(cleanedValue, " ");
      AppendText(cleanedValue, entry);
    } else {
      CopyText(cleanedValue, entry);
    }
    keptAny = true;
  }
  if (!found) {
    return AutostartEntry::NotFound;
  }

  WriteText("\nCleaning \"WIN.INI\"...");
  if (mayBeCut) {
    ReportSystemError(ERROR_MORE_DATA);
    return AutostartEntry::NotRemoved;
  }
  if (!WritePrivateProfileStringA(kSection, kKey, cleanedValue, kProfile)) {
    ReportSystemError(GetLastError());
    return AutostartEntry::NotRemoved;
  }
  WriteText("\n\t\"WIN.INI\" file Cleaned.");
  return AutostartEntry::Removed;
}
