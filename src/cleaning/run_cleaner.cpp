#include "cleaning/cleaner.h"
#include "console/banner.h"
#include "console/output.h"
#include "platform/system_family.h"

int RunCleaner() {
  bool infected = false;
  ShowBanner();

  SystemFamily family = SystemFamily::Other;
  if (!QuerySystemFamily(family)) {
    return kExitNotStarted;
  }
  if (family == SystemFamily::Win9x) {
    infected = CleanWinIniRunLine();
  } else if (family == SystemFamily::NT) {
    infected = CleanRunOnceValue();
  }

  if (infected) {
    RemoveTrojanFiles();
  } else {
    WriteText("\nYour System is not infected");
  }
  WriteText("\nPress any key to exit");
  WaitForKey();
  return infected ? kExitInfected : kExitNotInfected;
}
