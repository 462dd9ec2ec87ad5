#include "console/text.h"
#include "platform/entry_point.h"
#include "platform/system_family.h"
#include "terminator/process_listing.h"
#include "terminator/terminator.h"

ProcessListing processListing;

namespace {

template <typename Function>
bool Bind(Function& slot, const char* name) {
  slot = EntryPoint<Function>(processListing.library, name);
  return slot != nullptr;
}

}  // namespace

const char* BareName(const char* path) {
  const char* afterBackslash = nullptr;
  const char* afterColon = nullptr;
  for (const char* c = path; *c != '\0'; ++c) {
    if (*c == '\\') {
      afterBackslash = c + 1;
    } else if (*c == ':') {
      afterColon = c + 1;
    }
  }
  return afterBackslash ? afterBackslash : afterColon ? afterColon : path;
}

bool IsValidFileName(const char* name) {
  for (const char* c = name; *c != '\0'; ++c) {
    for (const char* forbidden = "\\/:*?\"<>|"; *forbidden != '\0'; ++forbidden) {
      if (*c == *forbidden) {
        return false;
      }
    }
  }
  return true;
}

DWORD KillProcessByPath(char* path) {
  SystemFamily family = SystemFamily::Other;
  if (!QuerySystemFamily(family)) {
    return GetLastError();
  }
  if (family == SystemFamily::Win9x) {
    processListing.library = LoadLibraryA("KERNEL32.DLL");
    if (!processListing.library) {
      return GetLastError();
    }
    const bool bound = Bind(processListing.process32First, "Process32First") &&
                       Bind(processListing.process32Next, "Process32Next") &&
                       Bind(processListing.createToolhelp32Snapshot, "CreateToolhelp32Snapshot");
    return bound ? KillProcessBySnapshot(path) : static_cast<DWORD>(ERROR_PROC_NOT_FOUND);
  }
  if (family == SystemFamily::NT) {
    const char* bareName = BareName(path);
    if (!IsValidFileName(bareName)) {
      return ERROR_INVALID_NAME;
    }
    processListing.library = LoadLibraryA("PSAPI.DLL");
    if (!processListing.library) {
      return GetLastError();
    }
    const bool bound = Bind(processListing.enumProcesses, "EnumProcesses") &&
                       Bind(processListing.enumProcessModules, "EnumProcessModules") &&
                       Bind(processListing.getModuleBaseName, "GetModuleBaseNameA");
    return bound ? KillProcessByModuleName(bareName) : static_cast<DWORD>(ERROR_PROC_NOT_FOUND);
  }
  return GetLastError();
}
