#include "cleaning/cleaner.h"
#include "console/banner.h"
#include "console/output.h"
#include "platform/system_family.h"

int RunCleaner() {
  AutostartEntry entry = AutostartEntry::NotFound;
  ShowBanner();

  SystemFamily family = SystemFamily::Other;
  if (!QuerySystemFamily(family)) {
    return kExitNotStarted;
  }
  if (family == SystemFamily::Win9x) {
    entry = CleanWinIniRunLine();
  } else if (family == SystemFamily::NT) {
    entry = CleanRunOnceValue();
  }

  const bool infected = entry != AutostartEntry::NotFound;
  bool filesGone = true;
  if (infected) {
    filesGone = RemoveTrojanFiles();
  } else {
    WriteText("\nYour System is not infected");
  }
  WriteText("\nPress any key to exit");
  WaitForKey();
  if (!infected) {
    return kExitNotInfected;
  }
  return entry == AutostartEntry::Removed && filesGone ? kExitCleaned : kExitNotAllRemoved;
}
