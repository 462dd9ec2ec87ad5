// Calls the terminator on its argument and prints the kill status: the terminator alone, on the
// real platform.
#include <stdio.h>

#include "console/text.h"
#include "terminator/terminator.h"

int main(int argc, char** argv) {
  char path[256];
  if (argc != 2 || !CopyText(path, argv[1])) {
    return 2;
  }
  const DWORD status = KillProcessByPath(path);
  printf("\nstatus %lu\n", static_cast<unsigned long>(status));
  return 0;
}
