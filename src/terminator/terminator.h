// Terminates a running program given the path of its executable. Each Windows family lists its
// processes differently; the functions for it are bound at run time, from the library that has
// them.
#pragma once

#include "platform/platform.h"

// Kill status: 0 when the program was terminated, otherwise a system error code. `path` is a
// writable text of at most 255 characters; on NT only its file name is used.
DWORD KillProcessByPath(char* path);

// Win9x: the first process whose snapshot entry names `path` (any ASCII letter case).
DWORD KillProcessBySnapshot(const char* path);

// NT: the first process whose executable module is called `bareName` (any ASCII letter case).
DWORD KillProcessByModuleName(const char* bareName);

// The file-name part of `path`: after the last "\\", else after the last ":", else all of it.
const char* BareName(const char* path);

// False when `name` holds a character that no file name can hold.
bool IsValidFileName(const char* name);
