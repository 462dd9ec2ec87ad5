// The one place where a system error code becomes a line on the console.
#pragma once

#include "platform/platform.h"

// Writes one indented line explaining `code`: a text for 1 to 10, the number otherwise.
void ReportSystemError(DWORD code);
