// Every operation the run calls, made to fail on an infected machine of each family: the run goes
// on, reports where it should, ends with its closing texts, closes everything and touches nothing
// but the trojan's entry, programs and files.
#include "cleaning/cleaner.h"
#include "machine_test.h"

namespace {

using FaultMatrixTest = MachineTest;

struct Fault {
  DWORD platformId;
  const char* operation;
  DWORD code;
  int times;  // calls that fail; -1: every call
  int exitStatus;
  const char* text;  // must appear in the transcript
};

const DWORD NT = VER_PLATFORM_WIN32_NT;
const DWORD W9X = VER_PLATFORM_WIN32_WINDOWS;
const char kRemoved[] = "\n\tProcess Removed in Memory.";

// The exit status each fault must give: the machine is clean (1) when the entry was removed and
// each file deleted or not there; a program that could not be terminated keeps its file, and that
// shows as 3.
const int CLEAN = kExitCleaned;
const int LEFT = kExitNotAllRemoved;

const Fault kFaults[] = {
    {NT, "GetVersionExA", 5, 1, kExitNotStarted, " Press any key to continue....\n"},
    {NT, "RegOpenKeyExA", 2, -1, kExitNotInfected, "\n\tRemoving Registry Key Failed/NotFound."},
    {NT, "RegOpenKeyExA", 5, -1, kExitNotInfected, "\n\tRemoving Registry Key Failed/NotFound."},
    {NT, "RegQueryValueExA", 2, -1, kExitNotInfected, "\nYour System is not infected"},
    {NT, "RegQueryValueExA", 5, -1, kExitNotInfected, "\nYour System is not infected"},
    {NT, "RegQueryValueExA", 234, -1, CLEAN, "\n\tRegistry Cleaned."},
    {NT, "SHDeleteValueA", 5, -1, LEFT,
     "\nCleaning Registry...\n\tRemoving Registry Key Failed/NotFound.\nKilling"},
    {NT, "RegCloseKey", 6, -1, CLEAN, "\n\tRegistry Cleaned."},
    {NT, "GetWindowsDirectoryA", 5, 3, CLEAN, kRemoved},
    {NT, "GetSystemDirectoryA", 5, 3, CLEAN, kRemoved},
    // The first load is SHLWAPI's: the value goes through ADVAPI32 instead.
    {NT, "LoadLibraryA", 126, 1, CLEAN, "\n\tRegistry Cleaned.\nKilling"},
    {NT, "LoadLibraryA", 126, -1, LEFT, "INETD.EXE...\n\tError Code: 126"},
    {NT, "GetProcAddress", 127, -1, LEFT, "INETD.EXE...\n\tError Code: 127"},
    {NT, "EnumProcesses", 5, -1, LEFT, "INETD.EXE...\n\tAccess is denied."},
    // Processes that cannot be opened or named are passed over: the program is not found.
    {NT, "OpenProcess", 5, -1, LEFT, "INETD.EXE...\n\tError Code: 18"},
    {NT, "EnumProcessModules", 5, -1, LEFT, "INETD.EXE...\n\tError Code: 18"},
    {NT, "GetModuleBaseNameA", 5, -1, LEFT, "INETD.EXE...\n\tError Code: 18"},
    {NT, "GetExitCodeProcess", 5, -1, CLEAN, kRemoved},
    {NT, "TerminateProcess", 5, -1, LEFT, "INETD.EXE...\n\tAccess is denied."},
    {NT, "CloseHandle", 6, -1, CLEAN, kRemoved},
    {NT, "FreeLibrary", 6, -1, CLEAN, "\n\tRegistry Cleaned."},
    {NT, "DeleteFileA", 5, -1, LEFT, "HKSDLL.DLL...\n\tAccess is denied."},
    {NT, "DeleteFileA", 5, 1, LEFT, "INETD.EXE...\n\tAccess is denied."},
    {NT, "DeleteFileA", 32, -1, LEFT, "HKSDLL.DLL...\n\tError Code: 32"},
    {NT, "DeleteFileA", 2, -1, CLEAN,
     "HKSDLL.DLL...\n\tThe system cannot find the file specified."},
    {NT, "DeleteFileA", 3, -1, CLEAN,
     "HKSDLL.DLL...\n\tThe system cannot find the path specified."},
    {NT, "Sleep", 5, -1, CLEAN, kRemoved},
    {NT, "_getch", 5, -1, CLEAN, "\nPress any key to exit"},
    {W9X, "GetVersionExA", 5, 1, kExitNotStarted, " Press any key to continue....\n"},
    {W9X, "GetPrivateProfileStringA", 5, -1, kExitNotInfected, "\nYour System is not infected"},
    {W9X, "WritePrivateProfileStringA", 5, -1, LEFT,
     "\nCleaning \"WIN.INI\"...\n\tAccess is denied.\nKilling"},
    {W9X, "GetWindowsDirectoryA", 5, 3, CLEAN, "\"WIN.INI\" file Cleaned."},
    {W9X, "GetSystemDirectoryA", 5, 3, CLEAN, kRemoved},
    {W9X, "LoadLibraryA", 126, -1, LEFT, "INETD.EXE...\n\tError Code: 126"},
    {W9X, "GetProcAddress", 127, -1, LEFT, "INETD.EXE...\n\tError Code: 127"},
    {W9X, "CreateToolhelp32Snapshot", 5, -1, LEFT, "......\n\tAccess is denied."},
    {W9X, "Process32First", 18, -1, LEFT, "......\n\tError Code: 18"},
    {W9X, "Process32Next", 18, -1, LEFT, "INETD.EXE......\n\tError Code: 18"},
    {W9X, "OpenProcess", 5, -1, LEFT, "......\n\tAccess is denied."},
    {W9X, "GetExitCodeProcess", 5, -1, CLEAN, kRemoved},
    {W9X, "WaitForSingleObject", 6, -1, CLEAN, kRemoved},
    {W9X, "TerminateProcess", 5, -1, LEFT, "......\n\tAccess is denied."},
    {W9X, "CloseHandle", 6, -1, CLEAN, kRemoved},
    {W9X, "DeleteFileA", 5, -1, LEFT, "HKSDLL.DLL...\n\tAccess is denied."},
    {W9X, "DeleteFileA", 2, -1, CLEAN,
     "HKSDLL.DLL...\n\tThe system cannot find the file specified."},
    {W9X, "Sleep", 5, -1, CLEAN, kRemoved},
    {W9X, "_getch", 5, -1, CLEAN, "\nPress any key to exit"},
};

void PlantInfectedMachine(DWORD platformId) {
  if (platformId == W9X) {
    standin::UseWin9x();
    standin::SetProfileString("WIN.INI", "WINDOWS", "run", "keep.exe C:\\WINDOWS\\INETD.EXE");
  } else {
    standin::SetRegistryString(kRunOnceKey, "Kernel32", "x");
  }
  const std::string windows = standin::TheMachine().windowsDirectory + "\\";
  const std::string system = standin::TheMachine().systemDirectory + "\\";
  // The owner's program is listed first, so that every walk passes it before a match.
  standin::AddProcess(windows + "EXPLORER.EXE");
  for (const std::string& path :
       {windows + "INETD.EXE", system + "KERN32.EXE", system + "HKSDLL.DLL"}) {
    standin::AddFile(path);
  }
  standin::AddProcess(windows + "INETD.EXE");
  standin::AddProcess(system + "KERN32.EXE");
  // What belongs to the machine's owner.
  standin::AddFile(windows + "NOTEPAD.EXE");
  standin::SetRegistryString(kRunOnceKey, "Setup", "keep");
  standin::SetProfileString("WIN.INI", "WINDOWS", "load", "keep.exe");
}

TEST_F(FaultMatrixTest, EveryOperationFailing) {
  for (const Fault& fault : kFaults) {
    const std::string name = std::string(fault.platformId == NT ? "NT " : "9x ") + fault.operation +
                             " failing with " + std::to_string(fault.code);
    ResetMachineForTest().lastError = 126;
    PlantInfectedMachine(fault.platformId);
    const DWORD owners = machine().processes[0].id;
    standin::FailOperation(fault.operation, fault.code, fault.times);

    EXPECT_EQ(RunCleaner(), fault.exitStatus) << name;
    const std::string& texts = machine().transcript;
    EXPECT_NE(texts.find(fault.text), std::string::npos) << name << "\n" << texts;
    if (fault.exitStatus != kExitNotStarted) {
      const std::string closing = fault.exitStatus != kExitNotInfected
                                      ? "\n\nFinish cleaning your system.\nPress any key to exit"
                                      : "\nYour System is not infected\nPress any key to exit";
      EXPECT_EQ(texts.substr(texts.size() - std::min(texts.size(), closing.size())), closing)
          << name;
    }
    EXPECT_EQ(standin::OpenHandleCount(), 0u) << name;
    EXPECT_TRUE(standin::FileExists(machine().windowsDirectory + "\\NOTEPAD.EXE")) << name;
    EXPECT_TRUE(standin::IsRunning(owners)) << name;
    EXPECT_TRUE(standin::HasRegistryValue(kRunOnceKey, "Setup")) << name;
    EXPECT_EQ(standin::ProfileString("WIN.INI", "WINDOWS", "load"), "keep.exe") << name;
    EXPECT_EQ(machine().keyReadsWithNothingToRead, fault.exitStatus == kExitNotStarted ? 1 : 2)
        << name << ": no console keys queued, so each wait is a read with nothing to read";
  }
}

}  // namespace
