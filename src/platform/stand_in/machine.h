// The simulated Windows machine behind win32.h: a test sets it up, runs the logic, and reads back
// what the logic wrote, changed, left open and waited for. Time is virtual: a pause or a wait only
// advances `clock`.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/stand_in/win32.h"

namespace standin {

struct Process {
  DWORD id = 0;
  std::string imagePath;     // the executable file: it cannot be deleted while the process runs
  std::string snapshotName;  // what a snapshot's szExeFile gives: the full path, as on Win9x
  std::string moduleName;    // what GetModuleBaseNameA gives: the file name, as on NT
  DWORD openError = 0;       // non-zero: OpenProcess fails with this code
  DWORD modulesError = 0;    // non-zero: EnumProcessModules fails with this code
  DWORD nameError = 0;       // non-zero: GetModuleBaseNameA fails with this code
  DWORD terminateError = 0;  // non-zero: TerminateProcess fails with this code
  DWORD endsAfterMs = 0;     // non-zero: the process ends by itself this far into a wait on it
  bool running = true;
  DWORD exitCode = STILL_ACTIVE;
  bool terminated = false;  // ended by TerminateProcess
};

enum class KeyKind { Character, Special, ModifierOnly, Release };

struct KeyPress {
  KeyKind kind;
  int code;  // the character, or the second code of a special key
  int lead;  // a special key's lead code: 0 or 224
};

struct RegistryValue {
  DWORD type = REG_SZ;
  std::vector<BYTE> data;
};

struct Pause {
  DWORD milliseconds;
  std::size_t transcriptLength;  // how much had been written when the pause began
};

struct Failure {
  DWORD code;
  int remaining;  // calls still to fail; negative: every call
};

// What the program's standard input is. Only a console answers GetConsoleMode; the runtime's key
// read reads the console whatever standard input is, as it does on Windows.
enum class StandardInput { Console, File, Pipe, None };

enum class HandleKind { Process, Snapshot, RegistryKey };

struct HandleRecord {
  HandleKind kind = HandleKind::Process;
  DWORD processId = 0;          // Process
  std::vector<DWORD> snapshot;  // Snapshot: the ids listed, in order
  std::size_t nextEntry = 0;    // Snapshot
  std::string keyPath;          // RegistryKey
  REGSAM access = 0;            // RegistryKey
};

struct Machine {
  // Set up by the test.
  DWORD platformId = VER_PLATFORM_WIN32_NT;
  std::string windowsDirectory = "C:\\WINNT";
  std::string systemDirectory = "C:\\WINNT\\System32";
  std::map<std::string, std::map<std::string, std::map<std::string, std::string>>> profiles;
  std::map<std::string, std::map<std::string, RegistryValue>> registry;  // key path -> values
  bool registryReadOnly = false;  // the user may read HKEY_LOCAL_MACHINE but not change it
  std::set<std::string> files;
  std::set<std::string> readOnlyFiles;  // deleting them is refused with 5
  std::vector<Process> processes;       // in the order the system lists them
  std::set<std::string> unloadableLibraries;
  std::set<std::string> missingEntryPoints;
  StandardInput standardInput = StandardInput::Console;
  bool hasConsole = true;  // a console that the key read can open
  std::deque<KeyPress> keys;
  std::map<std::string, Failure> failures;  // operation name -> injected failure

  // Read back by the test.
  DWORD lastError = 0;
  std::string transcript;
  unsigned long long clock = 0;
  std::vector<Pause> pauses;
  std::vector<DWORD> waits;
  std::vector<std::string> loadedLibraries;  // one entry for each load not yet freed
  std::vector<std::string> journal;          // the calls whose arguments matter, one line each
  int keyReads = 0;
  int keyReadsWithNothingToRead = 0;  // a real console would have blocked here for ever

  // Internal state of the simulation.
  int heldKeyCode = -1;
  std::map<std::uintptr_t, HandleRecord> handles;
  std::uintptr_t nextHandle = 0x100;
  DWORD nextProcessId = 0x104;
};

// A fresh machine of the NT family: no profile, an empty RunOnce key, no files, no processes.
Machine& ResetMachine();
Machine& TheMachine();

// Setting up.
void UseWin9x(const char* windowsDirectory = "C:\\WINDOWS",
              const char* systemDirectory = "C:\\WINDOWS\\SYSTEM");
DWORD AddProcess(const std::string& imagePath);  // returns its id
Process& ProcessById(DWORD id);
void AddFile(const std::string& path);
void MakeReadOnly(const std::string& path);
void SetProfileString(const std::string& file, const std::string& section, const std::string& key,
                      const std::string& value);
void SetRegistryValue(const std::string& keyPath, const std::string& name, DWORD type,
                      const std::vector<BYTE>& data);
void SetRegistryString(const std::string& keyPath, const std::string& name,
                       const std::string& text);
void PressCharacter(int code);
void PressSpecial(int lead, int code);
void PressModifierOnly();
void ReleaseKey();
// The next `times` calls of `operation` fail with `code`; every call when `times` is negative.
void FailOperation(const std::string& operation, DWORD code, int times = -1);

// Reading back.
bool FileExists(const std::string& path);
bool HasProfileString(const std::string& file, const std::string& section, const std::string& key);
std::string ProfileString(const std::string& file, const std::string& section,
                          const std::string& key);
bool HasRegistryValue(const std::string& keyPath, const std::string& name);
std::size_t OpenHandleCount();
bool IsRunning(DWORD id);
std::vector<std::string> JournalOf(const std::string& operation);  // lines naming that operation

}  // namespace standin
