// The Windows and system directories as the targets' paths are built from them.
#pragma once

#include <cstddef>

#include "platform/platform.h"

constexpr std::size_t kPathSize = 256;

using DirectoryQuery = UINT(WINAPI*)(LPSTR, UINT);

// Puts the directory `query` reports, with one "\\" appended, into `directory`. A query that
// fails is asked again until it answers. False when the directory with its "\\" does not fit.
bool GetDirectoryWithSlash(DirectoryQuery query, char (&directory)[kPathSize]);

// `directory` followed by `fileName`. False when that does not fit, or when `directory` is null
// (it could not be had in full); `path` then holds the file name alone, for the messages.
bool BuildTargetPath(char (&path)[kPathSize], const char* directory, const char* fileName);
