// The error texts, the two autostart stages and the removal, and whole infected runs.
#include "cleaning/cleaner.h"
#include "console/system_error.h"
#include "machine_test.h"

namespace {

using StageTest = MachineTest;

const char kChecking[] = "\nChecking \"WIN.INI\"...";
const char kCleaning[] = "\nCleaning \"WIN.INI\"...";
const char kCleaned[] = "\n\t\"WIN.INI\" file Cleaned.";
const char kRegistryFailed[] = "\n\tRemoving Registry Key Failed/NotFound.";
const char kRegistryCleaned[] = "\n\tRegistry Cleaned.";
const std::string kRegistryFound = "\nChecking Registry Entry...\nCleaning Registry...";

TEST_F(StageTest, ErrorTexts) {
  const struct {
    DWORD code;
    const char* text;
  } cases[] = {
      {0, "\n\tError Code: 0"},
      {1, "\n\tcorrect function."},
      {2, "\n\tThe system cannot find the file specified."},
      {3, "\n\tThe system cannot find the path specified."},
      {4, "\n\tThe system cannot open the file."},
      {5, "\n\tAccess is denied."},
      {6, "\n\tThe handle is invalid."},
      {7, "\n\tThe storage control blocks were destroyed."},
      {8, "\n\tNot enough storage is available to process this command."},
      {9, "\n\tThe storage control block address is invalid."},
      {10, "\n\tThe environment is incorrect."},
      {11, "\n\tError Code: 11"},
      {32, "\n\tError Code: 32"},
      {0x80000000u, "\n\tError Code: -2147483648"},
      {0xFFFFFFFFu, "\n\tError Code: -1"},
      {0x7FFFFFFFu, "\n\tError Code: 2147483647"},
  };
  for (const auto& c : cases) {
    ResetMachineForTest();
    ReportSystemError(c.code);
    EXPECT_EQ(machine().transcript, c.text) << c.code;
  }
}

TEST_F(StageTest, RunOnceValue) {
  const std::string notFound = "\nChecking Registry Entry..." + std::string(kRegistryFailed);
  const struct {
    const char* name;
    std::vector<BYTE> data;  // empty: no value
    DWORD type;
    const char* failing;  // operation made to fail with 5
    AutostartEntry entry;
    std::string texts;
  } cases[] = {
      {"absent", {}, REG_SZ, nullptr, AutostartEntry::NotFound, notFound},
      {"string",
       {'x', 0},
       REG_SZ,
       nullptr,
       AutostartEntry::Removed,
       kRegistryFound + kRegistryCleaned},
      {"number",
       {1, 0, 0, 0},
       REG_DWORD,
       nullptr,
       AutostartEntry::Removed,
       kRegistryFound + kRegistryCleaned},
      {"binary, 256 bytes", std::vector<BYTE>(256, 7), REG_BINARY, nullptr, AutostartEntry::Removed,
       kRegistryFound + kRegistryCleaned},
      {"long data", std::vector<BYTE>(4000, 'a'), REG_EXPAND_SZ, nullptr, AutostartEntry::Removed,
       kRegistryFound + kRegistryCleaned},
      {"open fails", {'x', 0}, REG_SZ, "RegOpenKeyExA", AutostartEntry::NotFound, notFound},
      {"query fails", {'x', 0}, REG_SZ, "RegQueryValueExA", AutostartEntry::NotFound, notFound},
      {"deletion fails",
       {'x', 0},
       REG_SZ,
       "SHDeleteValueA",
       AutostartEntry::NotRemoved,
       kRegistryFound + kRegistryFailed},
  };
  for (const auto& c : cases) {
    ResetMachineForTest();
    standin::SetRegistryString(kRunOnceKey, "Other", "C:\\KEEP.EXE");
    if (!c.data.empty()) standin::SetRegistryValue(kRunOnceKey, "Kernel32", c.type, c.data);
    if (c.failing) standin::FailOperation(c.failing, ERROR_ACCESS_DENIED);

    EXPECT_EQ(CleanRunOnceValue(), c.entry) << c.name;
    EXPECT_EQ(machine().transcript, c.texts) << c.name;
    EXPECT_EQ(standin::HasRegistryValue(kRunOnceKey, "Kernel32"),
              !c.data.empty() && c.entry != AutostartEntry::Removed)
        << c.name;
    EXPECT_TRUE(standin::HasRegistryValue(kRunOnceKey, "Other")) << c.name;
    EXPECT_EQ(standin::OpenHandleCount(), 0u) << c.name;
    EXPECT_TRUE(machine().loadedLibraries.empty()) << c.name << ": SHLWAPI released";
  }
  EXPECT_EQ(standin::JournalOf("RegOpenKeyExA"),
            std::vector<std::string>{"RegOpenKeyExA HKEY_LOCAL_MACHINE " +
                                     std::string(kRunOnceKey) + " 0 0x1"});
  EXPECT_EQ(standin::JournalOf("RegQueryValueExA"),
            std::vector<std::string>{"RegQueryValueExA Kernel32 null null 256"});
  EXPECT_EQ(standin::JournalOf("SHDeleteValueA"),
            std::vector<std::string>{"SHDeleteValueA HKEY_LOCAL_MACHINE " +
                                     std::string(kRunOnceKey) + " Kernel32"});
}

// A machine without SHLWAPI (Windows NT 4.0 without a later browser) deletes the value through
// ADVAPI32, with the same texts and results.
TEST_F(StageTest, RunOnceValueWithoutShlwapi) {
  const struct {
    const char* name;
    const char* missingLibrary;
    const char* missingEntryPoint;
    bool readOnly;        // the user may read HKEY_LOCAL_MACHINE, not change it
    const char* failing;  // operation made to fail with 5
    AutostartEntry entry;
  } cases[] = {
      {"no SHLWAPI", "SHLWAPI.DLL", nullptr, false, nullptr, AutostartEntry::Removed},
      {"SHLWAPI without the entry point", nullptr, "SHDeleteValueA", false, nullptr,
       AutostartEntry::Removed},
      {"no rights, with SHLWAPI", nullptr, nullptr, true, nullptr, AutostartEntry::NotRemoved},
      {"no rights, without SHLWAPI", "SHLWAPI.DLL", nullptr, true, nullptr,
       AutostartEntry::NotRemoved},
      {"deleting through ADVAPI32 fails", "SHLWAPI.DLL", nullptr, false, "RegDeleteValueA",
       AutostartEntry::NotRemoved},
  };
  for (const auto& c : cases) {
    ResetMachineForTest();
    standin::SetRegistryString(kRunOnceKey, "Other", "C:\\KEEP.EXE");
    standin::SetRegistryString(kRunOnceKey, "Kernel32", "x");
    if (c.missingLibrary) machine().unloadableLibraries.insert(c.missingLibrary);
    if (c.missingEntryPoint) machine().missingEntryPoints.insert(c.missingEntryPoint);
    machine().registryReadOnly = c.readOnly;
    if (c.failing) standin::FailOperation(c.failing, ERROR_ACCESS_DENIED);

    const AutostartEntry entry = CleanRunOnceValue();
    EXPECT_EQ(entry, c.entry) << c.name;
    EXPECT_EQ(standin::HasRegistryValue(kRunOnceKey, "Kernel32"),
              c.entry != AutostartEntry::Removed)
        << c.name;
    EXPECT_TRUE(standin::HasRegistryValue(kRunOnceKey, "Other")) << c.name;
    EXPECT_TRUE(machine().loadedLibraries.empty()) << c.name;
    EXPECT_EQ(
        machine().transcript,
        kRegistryFound + (c.entry == AutostartEntry::Removed ? kRegistryCleaned : kRegistryFailed))
        << c.name;
  }
}

TEST_F(StageTest, RunOnceKeyMissing) {
  machine().registry.clear();
  EXPECT_EQ(CleanRunOnceValue(), AutostartEntry::NotFound);
  EXPECT_EQ(machine().transcript, "\nChecking Registry Entry..." + std::string(kRegistryFailed));
}

struct RunLineCase {
  const char* name;
  const char* line;     // null: no `run` key
  const char* written;  // null: the line must not be written back
  std::string texts;    // after "\nChecking \"WIN.INI\"..."
};

TEST_F(StageTest, WinIniRunLine) {
  const std::string cleaned = std::string(kCleaning) + kCleaned;
  const std::string longLine = "C:\\WINDOWS\\INETD.EXE " + std::string(234, 'A');  // 255 in all
  const RunLineCase cases[] = {
      {"no run key", nullptr, nullptr, ""},
      {"EMPTY in any case", "eMpTy", nullptr, ""},
      {"empty line", "", nullptr, ""},
      {"blank line", "    ", nullptr, ""},
      {"the path alone", "C:\\WINDOWS\\INETD.EXE", " ", cleaned},
      {"the path in lower case", "c:\\windows\\inetd.exe", " ", cleaned},
      {"among others", "a.exe C:\\WINDOWS\\INETD.EXE b.exe", "A.EXE B.EXE", cleaned},
      {"first, then others", "C:\\WINDOWS\\INETD.EXE x.exe", "X.EXE", cleaned},
      {"last, after others", "x.exe C:\\WINDOWS\\INETD.EXE", "X.EXE", cleaned},
      {"twice", "C:\\WINDOWS\\INETD.EXE x C:\\WINDOWS\\INETD.EXE", "X", cleaned},
      {"several spaces", "   a   C:\\WINDOWS\\INETD.EXE    b  ", "A B", cleaned},
      {"long file name cut at its space", "C:\\PROGRA~1\\My App.exe C:\\WINDOWS\\INETD.EXE",
       "C:\\PROGRA~1\\MY APP.EXE", cleaned},
      {"tab inside an entry", "a\tC:\\WINDOWS\\INETD.EXE", nullptr, ""},
      {"without the path", "a.exe b.exe", nullptr, ""},
      {"a longer name", "C:\\WINDOWS\\INETD.EXE2 C:\\WINDOWS\\XINETD.EXE", nullptr, ""},
      {"255 characters: maybe cut, not written", longLine.c_str(), nullptr,
       std::string(kCleaning) + "\n\tError Code: 234"},
  };
  for (const RunLineCase& c : cases) {
    ResetMachineForTest();
    standin::UseWin9x("C:\\Windows");  // mixed case, as many systems report it
    if (c.line) standin::SetProfileString("WIN.INI", "windows", "run", c.line);

    const AutostartEntry expected = c.texts.empty() ? AutostartEntry::NotFound
                                    : c.written     ? AutostartEntry::Removed
                                                    : AutostartEntry::NotRemoved;
    EXPECT_EQ(CleanWinIniRunLine(), expected) << c.name;
    EXPECT_EQ(machine().transcript, kChecking + c.texts) << c.name;
    const auto writes = standin::JournalOf("WritePrivateProfileStringA");
    if (c.written) {
      EXPECT_EQ(writes, std::vector<std::string>{"WritePrivateProfileStringA WINDOWS run [" +
                                                 std::string(c.written) + "] WIN.INI"})
          << c.name;
    } else {
      EXPECT_TRUE(writes.empty()) << c.name;
      EXPECT_EQ(standin::ProfileString("WIN.INI", "WINDOWS", "run"), c.line ? c.line : "(absent)")
          << c.name;
    }
  }
  EXPECT_EQ(standin::JournalOf("GetPrivateProfileStringA"),
            std::vector<std::string>{"GetPrivateProfileStringA WINDOWS run EMPTY 256 WIN.INI"});
}

TEST_F(StageTest, WinIniWriteFailsButTheRunIsInfected) {
  standin::UseWin9x();
  standin::SetProfileString("WIN.INI", "WINDOWS", "run", "C:\\WINDOWS\\INETD.EXE");
  standin::FailOperation("WritePrivateProfileStringA", ERROR_ACCESS_DENIED);
  EXPECT_EQ(CleanWinIniRunLine(), AutostartEntry::NotRemoved);
  EXPECT_EQ(machine().transcript, std::string(kChecking) + kCleaning + "\n\tAccess is denied.");
}

TEST_F(StageTest, WinIniDirectoryQueriesAreRepeatedAndATooLongOneMatchesNothing) {
  standin::UseWin9x();
  standin::SetProfileString("WIN.INI", "WINDOWS", "run", "C:\\WINDOWS\\INETD.EXE");
  standin::FailOperation("GetWindowsDirectoryA", ERROR_ACCESS_DENIED, 3);
  EXPECT_EQ(CleanWinIniRunLine(), AutostartEntry::Removed);
  EXPECT_EQ(standin::JournalOf("GetWindowsDirectoryA").size(), 4u);

  for (std::size_t length : {245u, 246u, 255u, 300u}) {
    ResetMachineForTest();
    const std::string directory = "C:\\" + std::string(length - 3, 'D');
    standin::UseWin9x(directory.c_str());
    standin::SetProfileString("WIN.INI", "WINDOWS", "run", directory + "\\INETD.EXE");
    // At 245 the path fits, but the line it makes fills the buffer: it may have been cut, so it
    // is not written back.
    EXPECT_EQ(CleanWinIniRunLine(),
              length == 245 ? AutostartEntry::NotRemoved : AutostartEntry::NotFound)
        << length;
    EXPECT_EQ(standin::JournalOf("GetWindowsDirectoryA").size(), 1u) << length;
  }
}

TEST_F(StageTest, RemovalReportsEveryStep) {
  const struct {
    const char* name;
    bool files;
    bool programs;
    std::string killOutcomes[2];
    std::string deleteOutcome;  // %s: the path
  } cases[] = {
      {"everything present",
       true,
       true,
       {"\n\tProcess Removed in Memory.", "\n\tProcess Removed in Memory."},
       "\n\tFile %s deleted."},
      // Not running is "no more files" on NT too, whatever code an earlier failure left behind.
      {"nothing present",
       false,
       false,
       {"\n\tError Code: 18", "\n\tError Code: 18"},
       "\n\tThe system cannot find the file specified."},
      {"files only",
       true,
       false,
       {"\n\tError Code: 18", "\n\tError Code: 18"},
       "\n\tFile %s deleted."},
  };
  for (const auto& c : cases) {
    ResetMachineForTest();
    const char* paths[] = {"C:\\WINNT\\INETD.EXE", "C:\\WINNT\\System32\\KERN32.EXE",
                           "C:\\WINNT\\System32\\HKSDLL.DLL"};
    for (const char* path : paths) {
      if (c.files) standin::AddFile(path);
    }
    if (c.programs) {
      standin::AddProcess(paths[0]);
      standin::AddProcess(paths[1]);
    }
    EXPECT_TRUE(RemoveTrojanFiles()) << c.name << ": deleted or not there, none is left";

    std::string expected;
    for (int i = 0; i < 3; ++i) {
      if (i < 2)
        expected += "\nKilling the Process " + std::string(paths[i]) + "..." + c.killOutcomes[i];
      std::string outcome = c.deleteOutcome;
      if (outcome.find("%s") != std::string::npos) outcome.replace(outcome.find("%s"), 2, paths[i]);
      expected += "\nDeleting file " + std::string(paths[i]) + "..." + outcome;
    }
    EXPECT_EQ(machine().transcript, expected + "\n\nFinish cleaning your system.") << c.name;
    for (const char* path : paths) EXPECT_FALSE(standin::FileExists(path)) << c.name << path;
    ASSERT_EQ(machine().pauses.size(), 2u) << c.name;
    EXPECT_EQ(machine().clock, 2000u) << c.name;
  }
}

TEST_F(StageTest, RemovalOfARunningProgramsFileFailsAndTheNextTargetIsTried) {
  standin::AddFile("C:\\WINNT\\INETD.EXE");
  standin::AddFile("C:\\WINNT\\System32\\KERN32.EXE");
  const DWORD stubborn = standin::AddProcess("C:\\WINNT\\INETD.EXE");
  standin::ProcessById(stubborn).terminateError = ERROR_ACCESS_DENIED;
  EXPECT_FALSE(RemoveTrojanFiles());
  EXPECT_NE(machine().transcript.find("\nKilling the Process C:\\WINNT\\INETD.EXE...\n\tAccess is "
                                      "denied.\nDeleting file C:\\WINNT\\INETD.EXE...\n\tAccess "
                                      "is denied.\nKilling"),
            std::string::npos)
      << machine().transcript;
  EXPECT_TRUE(standin::FileExists("C:\\WINNT\\INETD.EXE"));
  EXPECT_FALSE(standin::FileExists("C:\\WINNT\\System32\\KERN32.EXE"));
}

TEST_F(StageTest, RemovalBuildsPathsAsReportedAndRefusesTooLongOnes) {
  machine().windowsDirectory = "C:\\";
  machine().systemDirectory = "C:\\" + std::string(241, 'S');  // 244: KERN32.EXE fits, just
  RemoveTrojanFiles();
  const std::string system = machine().systemDirectory + "\\";
  EXPECT_NE(machine().transcript.find("\nDeleting file C:\\\\INETD.EXE..."), std::string::npos);
  EXPECT_NE(machine().transcript.find("\nDeleting file " + system + "KERN32.EXE..."),
            std::string::npos);

  ResetMachineForTest();
  machine().systemDirectory = "C:\\" + std::string(242, 'S');  // 245: no target fits
  standin::AddProcess(machine().systemDirectory + "\\KERN32.EXE");
  EXPECT_FALSE(RemoveTrojanFiles()) << "files that could not even be named may remain";
  const std::string texts = machine().transcript;
  EXPECT_NE(texts.find("\nKilling the Process KERN32.EXE...\n\tError Code: 206\nDeleting file "
                       "KERN32.EXE...\n\tError Code: 206\nDeleting file HKSDLL.DLL...\n\tError "
                       "Code: 206\n\nFinish"),
            std::string::npos)
      << texts;
  EXPECT_EQ(standin::JournalOf("DeleteFileA").size(), 1u) << "only INETD.EXE is tried";
  EXPECT_EQ(machine().pauses.size(), 2u);
}

std::string InfectedRunTexts(const std::string& stage, const std::string& windows,
                             const std::string& system, const std::string& dots) {
  std::string texts = ExpectedBanner() + kContinuePrompt + stage;
  const std::string programs[] = {windows + "\\INETD.EXE", system + "\\KERN32.EXE"};
  for (const std::string& path : programs) {
    texts += "\nKilling the Process " + path + "..." + dots + "\n\tProcess Removed in Memory.";
    texts += "\nDeleting file " + path + "...\n\tFile " + path + " deleted.";
  }
  const std::string library = system + "\\HKSDLL.DLL";
  texts += "\nDeleting file " + library + "...\n\tFile " + library + " deleted.";
  return texts + "\n\nFinish cleaning your system.\nPress any key to exit";
}

void PlantTrojan(const std::string& windows, const std::string& system) {
  for (const std::string& path :
       {windows + "\\INETD.EXE", system + "\\KERN32.EXE", system + "\\HKSDLL.DLL"}) {
    standin::AddFile(path);
  }
  standin::AddProcess(windows + "\\INETD.EXE");
  standin::AddProcess(system + "\\KERN32.EXE");
}

TEST_F(StageTest, InfectedNtRun) {
  machine().lastError = 126;
  PlantTrojan("C:\\WINNT", "C:\\WINNT\\System32");
  standin::SetRegistryString(kRunOnceKey, "Kernel32", "C:\\WINNT\\System32\\KERN32.EXE");
  standin::PressCharacter('y');
  standin::PressCharacter('z');

  EXPECT_EQ(RunCleaner(), kExitCleaned);
  EXPECT_EQ(
      machine().transcript,
      InfectedRunTexts("\nChecking Registry Entry...\nCleaning Registry...\n\tRegistry Cleaned.",
                       "C:\\WINNT", "C:\\WINNT\\System32", ""));
  EXPECT_EQ(machine().clock, 2000u);
  const std::string removed = "\n\tProcess Removed in Memory.";
  ASSERT_EQ(machine().pauses.size(), 2u);
  for (const auto& pause : machine().pauses) {
    EXPECT_EQ(machine().transcript.substr(pause.transcriptLength - removed.size(), removed.size()),
              removed)
        << "each pause follows the outcome of its terminate step";
  }
  EXPECT_TRUE(machine().files.empty());
  EXPECT_FALSE(standin::HasRegistryValue(kRunOnceKey, "Kernel32"));
  EXPECT_EQ(machine().keyReads, 2);
}

TEST_F(StageTest, InfectedWin9xRun) {
  standin::UseWin9x();
  PlantTrojan("C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM");
  standin::SetProfileString("WIN.INI", "WINDOWS", "run", "scanregw.exe C:\\WINDOWS\\INETD.EXE");
  standin::PressCharacter('y');
  standin::PressCharacter('z');

  EXPECT_EQ(RunCleaner(), kExitCleaned);
  EXPECT_EQ(machine().transcript, InfectedRunTexts(std::string(kChecking) + kCleaning + kCleaned,
                                                   "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM", "..."));
  // Two terminate steps, each 1000 ms pause + 4000 ms wait inside the walk + 1000 ms after.
  EXPECT_EQ(machine().clock, 12000u);
  EXPECT_EQ(standin::ProfileString("WIN.INI", "WINDOWS", "run"), "SCANREGW.EXE");
  EXPECT_TRUE(machine().files.empty());
}

TEST_F(StageTest, AStageThatFindsNothingLeavesProcessesAndFilesAlone) {
  for (DWORD platform : {VER_PLATFORM_WIN32_NT, VER_PLATFORM_WIN32_WINDOWS}) {
    ResetMachineForTest().platformId = platform;
    PlantTrojan("C:\\WINNT", "C:\\WINNT\\System32");
    standin::SetProfileString("WIN.INI", "WINDOWS", "run", "C:\\ELSEWHERE\\INETD.EXE");
    EXPECT_EQ(RunCleaner(), kExitNotInfected) << platform;
    EXPECT_EQ(machine().files.size(), 3u) << platform;
    EXPECT_TRUE(standin::JournalOf("OpenProcess").empty()) << platform;
    EXPECT_TRUE(standin::JournalOf("LoadLibraryA").empty()) << platform;
  }
}

}  // namespace
