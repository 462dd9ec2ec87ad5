#include "console/banner.h"

#include "console/output.h"
#include "platform/platform.h"

namespace {

// Line 11 is one column short of the frame: that is how the tool has always looked.
const char* const kBannerLines[] = {
    " ===========================================================\n",
    " =                                                         =\n",
    " =               FIX_MOLIVERN.A Version 1.0                =\n",
    " =  A free cleaning tool from the virus information desk   =\n",
    " =                 http://www.example.com/                 =\n",
    " =                                                         =\n",
    " ===========================================================\n",
    " =                                                         =\n",
    " =    This program will kill TROJ_MOLIVERN.A from memory   =\n",
    " =      from memory running under Windows 9x/NT            =\n",
    " =    1. Delete WIN.INI Entry                             =\n",
    " =    2. Terminate Process                                 =\n",
    " =    3. Delete dropped file                               =\n",
    " =                                                         =\n",
    " =                                                         =\n",
    " =    For the details of this virus, visit                 =\n",
    " =    http://www.example.com/vinfo/virusencyclo/           =\n",
    " =    default5.asp?VName=TROJ_MOLIVERN.A                   =\n",
    " =                                                         =\n",
    " ===========================================================\n",
};

const char kContinuePrompt[] = "\n Press any key to continue....\n";

}  // namespace

void ShowBanner() {
  for (const char* line : kBannerLines) {
    WriteText(line);
  }
  WriteText(kContinuePrompt);
  WaitForKey();
}

int WaitForKey() {
  // The runtime's read is already what the prompts need: raw, no echo, a special key as a lead
  // code with its second code held, and end of input at once without a console.
  return _getch();
}
