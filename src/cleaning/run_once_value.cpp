// The NT autostart stage: a value under the machine-wide RunOnce key.
#include "cleaning/cleaner.h"
#include "console/output.h"
#include "platform/entry_point.h"
#include "platform/platform.h"

namespace {

const char kRunOnceKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const char kValueName[] = "Kernel32";
const char kFailedText[] = "\n\tRemoving Registry Key Failed/NotFound.";

using SHDeleteValueFunction = LSTATUS(WINAPI*)(HKEY root, LPCSTR subKey, LPCSTR value);

// SHLWAPI came with a browser, not with Windows NT 4.0: it is bound by name where it is there.
// False when it or its entry point is missing; otherwise `status` is the deletion's result.
bool DeleteThroughShlwapi(LSTATUS& status) {
  HMODULE shlwapi = LoadLibraryA("SHLWAPI.DLL");
  if (!shlwapi) {
    return false;
  }
  const auto deleteValue = EntryPoint<SHDeleteValueFunction>(shlwapi, "SHDeleteValueA");
  if (deleteValue) {
    status = deleteValue(HKEY_LOCAL_MACHINE, kRunOnceKey, kValueName);
  }
  FreeLibrary(shlwapi);
  return deleteValue != nullptr;
}

// The same deletion where SHLWAPI is missing: every machine has ADVAPI32.
LSTATUS DeleteThroughAdvapi32() {
  HKEY key = nullptr;
  LSTATUS status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunOnceKey, 0, KEY_SET_VALUE, &key);
  if (status != ERROR_SUCCESS) {
    return status;
  }
  status = RegDeleteValueA(key, kValueName);
  RegCloseKey(key);
  return status;
}

LSTATUS DeleteTrojanValue() {
  LSTATUS status = ERROR_SUCCESS;
  return DeleteThroughShlwapi(status) ? status : DeleteThroughAdvapi32();
}

}  // namespace

AutostartEntry CleanRunOnceValue() {
  WriteText("\nChecking Registry Entry...");
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunOnceKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    WriteText(kFailedText);
    return AutostartEntry::NotFound;
  }
  BYTE data[256];
  DWORD size = sizeof(data);
  const LSTATUS query = RegQueryValueExA(key, kValueName, nullptr, nullptr, data, &size);
  // Lack of room only means the data are long: the value is there, and that is what counts.
  if (query != ERROR_SUCCESS && query != ERROR_MORE_DATA) {
    WriteText(kFailedText);
    RegCloseKey(key);
    return AutostartEntry::NotFound;
  }
  WriteText("\nCleaning Registry...");
  // By path: the key was opened for reading only.
  const bool removed = DeleteTrojanValue() == ERROR_SUCCESS;
  WriteText(removed ? "\n\tRegistry Cleaned." : kFailedText);
  RegCloseKey(key);
  return removed ? AutostartEntry::Removed : AutostartEntry::NotRemoved;
}
