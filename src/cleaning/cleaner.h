// The cleaning run and its stages.
#pragma once

// Exit statuses, as command-line virus scanners report them to the scripts that run them.
constexpr int kExitNotInfected = 0;  // no autostart entry found
constexpr int kExitInfected = 1;     // the entry was found and cleaning was attempted
constexpr int kExitNotStarted = 2;   // the version query failed: nothing was looked at

// The whole program: banner, autostart stage of the running family, removal, final prompt.
int RunCleaner();

// Win9x: drops the trojan's path from the `run` line of WIN.INI. True when it was there.
bool CleanWinIniRunLine();

// NT: deletes the trojan's `Kernel32` value under RunOnce. True when it was there.
bool CleanRunOnceValue();

// Terminates the trojan's two programs and deletes its three files, reporting each action.
void RemoveTrojanFiles();
