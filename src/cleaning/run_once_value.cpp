// The NT autostart stage: a value under the machine-wide RunOnce key.
#include "cleaning/cleaner.h"
#include "console/output.h"
#include "platform/platform.h"

namespace {

const char kRunOnceKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const char kValueName[] = "Kernel32";
const char kFailedText[] = "\n\tRemoving Registry Key Failed/NotFound.";

}  // namespace

bool CleanRunOnceValue() {
  WriteText("\nChecking Registry Entry...");
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunOnceKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    WriteText(kFailedText);
    return false;
  }
  BYTE data[256];
  DWORD size = sizeof(data);
  const LSTATUS query = RegQueryValueExA(key, kValueName, nullptr, nullptr, data, &size);
  // Lack of room only means the data are long: the value is there, and that is what counts.
  if (query != ERROR_SUCCESS && query != ERROR_MORE_DATA) {
    WriteText(kFailedText);
    RegCloseKey(key);
    return false;
  }
  WriteText("\nCleaning Registry...");
  // By path: the key was opened for reading only.
  if (SHDeleteValueA(HKEY_LOCAL_MACHINE, kRunOnceKey, kValueName) == ERROR_SUCCESS) {
    WriteText("\n\tRegistry Cleaned.");
  } else {
    WriteText(kFailedText);
  }
  RegCloseKey(key);
  return true;
}
