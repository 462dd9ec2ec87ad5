#include "platform/system_family.h"

#include "platform/platform.h"

static_assert(sizeof(OSVERSIONINFOA) == 148, "the version record of the single-byte query");

bool QuerySystemFamily(SystemFamily& family) {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof(version);
  if (!GetVersionExA(&version)) {
    return false;
  }
  switch (version.dwPlatformId) {
    case VER_PLATFORM_WIN32_WINDOWS:
      family = SystemFamily::Win9x;
      break;
    case VER_PLATFORM_WIN32_NT:
      family = SystemFamily::NT;
      break;
    default:
      family = SystemFamily::Other;
      break;
  }
  return true;
}
