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
  // Standard input taken from a file, a pipe or NUL says that nobody will answer at the console,
  // yet the runtime's read would wait on the console all the same: for ever, in a start-up script
  // or under a remote-execution tool.
  DWORD mode = 0;
  if (!GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode)) {
    return kEndOfInput;
  }
  // Raw, no echo, a special key as a lead code with its second code held for the next call.
  return _getch();
}
