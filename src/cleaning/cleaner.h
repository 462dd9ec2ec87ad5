// The cleaning run and its stages.
#pragma once

// Exit statuses: what a script that runs the cleaner on many machines needs to tell them apart.
constexpr int kExitNotInfected = 0;    // no autostart entry found
constexpr int kExitCleaned = 1;        // the entry was found and removed, and no file is left
constexpr int kExitNotStarted = 2;     // the version query failed: nothing was looked at
constexpr int kExitNotAllRemoved = 3;  // the entry was found, but it or a file may remain

// What an autostart stage found of the trojan's entry.
enum class AutostartEntry { NotFound, Removed, NotRemoved };

// The whole program: banner, autostart stage of the running family, removal, final prompt.
// Returns the exit status.
int RunCleaner();

// Win9x: drops the trojan's path from the `run` line of WIN.INI.
AutostartEntry CleanWinIniRunLine();

// NT: deletes the trojan's `Kernel32` value under RunOnce.
AutostartEntry CleanRunOnceValue();

// Terminates the trojan's two programs and deletes its three files, reporting each action. True
// when none of the files is left: each was deleted or was not there.
bool RemoveTrojanFiles();
