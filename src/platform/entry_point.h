// Functions that only some machines have are bound at run time, by name, so that the program
// still starts where they are missing.
#pragma once

#include "platform/platform.h"

// The entry point `name` of `library` as a `Function`, or null when the library lacks it.
template <typename Function>
Function EntryPoint(HMODULE library, const char* name) {
  // Through the one function type that converts to and from every other without a warning.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}
