// The seam between the cleaner's logic and the machine it runs on. The logic includes this header
// only and calls the operating system by its own names; which system answers is decided here, once.
#pragma once

#ifdef _WIN32
#include <windows.h>
// windows.h must come first: the headers below rely on its types.
#include <conio.h>
#include <tlhelp32.h>
#else
#include "stand_in/win32.h"
#endif
