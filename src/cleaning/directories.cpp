#include "cleaning/directories.h"

#include "console/text.h"

bool GetDirectoryWithSlash(DirectoryQuery query, char (&directory)[kPathSize]) {
  UINT length = 0;
  do {
    length = query(directory, kPathSize);
  } while (length == 0);
  // A result this large is the size the directory needs: nothing was written.
  if (length >= kPathSize || !AppendText(directory, "\\")) {
    directory[0] = '\0';
    return false;
  }
  return true;
}

bool BuildTargetPath(char (&path)[kPathSize], const char* directory, const char* fileName) {
  if (directory && CopyText(path, directory) && AppendText(path, fileName)) {
    return true;
  }
  CopyText(path, fileName);
  return false;
}
