// The terminator on the simulated machine: binding, name handling and both walks.
#include "terminator/terminator.h"

#include <cstring>

#include "console/text.h"
#include "machine_test.h"

namespace {

using TerminatorTest = MachineTest;

DWORD Kill(const char* path) {
  char buffer[256];
  CopyText(buffer, path);
  return KillProcessByPath(buffer);
}

TEST_F(TerminatorTest, BareNameIsTheTextAfterTheLastSeparator) {
  const struct {
    const char* path;
    const char* bare;
  } cases[] = {
      {"C:\\WINNT\\INETD.EXE", "INETD.EXE"},
      {"D:INETD.EXE", "INETD.EXE"},
      {"INETD.EXE", "INETD.EXE"},
      {"C:\\A:B\\X.EXE", "X.EXE"},
      {"C:\\DIR\\ODD:NAME", "ODD:NAME"},
      {"C:\\", ""},
  };
  for (const auto& c : cases) {
    EXPECT_STREQ(BareName(c.path), c.bare) << c.path;
  }
}

TEST_F(TerminatorTest, NtComparesTheBareNameOnlyAndChecksItFirst) {
  const struct {
    const char* path;
    DWORD status;
    bool terminated;
    bool libraryLoaded;
  } cases[] = {
      {"C:\\WINNT\\INETD.EXE", 0, true, true},
      {"D:INETD.EXE", 0, true, true},
      {"INETD.EXE", 0, true, true},
      {"C:\\OTHER\\DIR\\inetd.exe", 0, true, true},
      {"C:\\WINNT\\IN?ETD.EXE", ERROR_INVALID_NAME, false, false},
      {"C:\\WINNT\\A/INETD.EXE", ERROR_INVALID_NAME, false, false},
      {"C:\\WINNT\\X:\\INETD.EXE", 0, true, true},  // the colon is before the last backslash
      {"C:\\WINNT\\IN\"ETD.EXE", ERROR_INVALID_NAME, false, false},
      {"C:\\WINNT\\<INETD.EXE", ERROR_INVALID_NAME, false, false},
      {"C:\\WINNT\\INETD.EXE|", ERROR_INVALID_NAME, false, false},
      {"C:\\WINNT\\*", ERROR_INVALID_NAME, false, false},
  };
  for (const auto& c : cases) {
    ResetMachineForTest();
    const DWORD id = standin::AddProcess("C:\\Program Files\\Svc\\Inetd.Exe");
    EXPECT_EQ(Kill(c.path), c.status) << c.path;
    EXPECT_EQ(!standin::IsRunning(id), c.terminated) << c.path;
    EXPECT_EQ(!machine().loadedLibraries.empty(), c.libraryLoaded) << c.path;
    EXPECT_EQ(standin::OpenHandleCount(), 0u) << c.path;
  }
}

TEST_F(TerminatorTest, NtTerminatesTheFirstOfTwoWithTheExitCodeItRead) {
  const DWORD first = standin::AddProcess("C:\\WINNT\\INETD.EXE");
  const DWORD second = standin::AddProcess("D:\\ELSEWHERE\\INETD.EXE");
  EXPECT_EQ(Kill("C:\\WINNT\\INETD.EXE"), 0u);
  EXPECT_FALSE(standin::IsRunning(first));
  EXPECT_TRUE(standin::IsRunning(second));
  EXPECT_EQ(standin::JournalOf("TerminateProcess"),
            std::vector<std::string>{"TerminateProcess " + std::to_string(first) + " 259"});
  EXPECT_EQ(standin::JournalOf("LoadLibraryA"), std::vector<std::string>{"LoadLibraryA PSAPI.DLL"});
  EXPECT_EQ(standin::JournalOf("EnumProcesses"), std::vector<std::string>{"EnumProcesses 4096"});
  EXPECT_EQ(standin::JournalOf("OpenProcess").front(),
            "OpenProcess 0x411 0 " + std::to_string(first));
  EXPECT_EQ(standin::JournalOf("EnumProcessModules").front(),
            "EnumProcessModules " + std::to_string(sizeof(HMODULE)));
  EXPECT_EQ(standin::JournalOf("GetModuleBaseNameA").front(), "GetModuleBaseNameA 260");
  EXPECT_EQ(
      standin::JournalOf("GetProcAddress"),
      (std::vector<std::string>{"GetProcAddress EnumProcesses", "GetProcAddress EnumProcessModules",
                                "GetProcAddress GetModuleBaseNameA"}));
  EXPECT_TRUE(machine().pauses.empty()) << "no pause on NT";
  EXPECT_TRUE(machine().transcript.empty());
}

TEST_F(TerminatorTest, NtSkipsWhatCannotBeIdentified) {
  // Each process before the match fails in one way; the walk must pass them all and close each.
  const DWORD unopenable = standin::AddProcess("C:\\WINNT\\INETD.EXE");
  standin::ProcessById(unopenable).openError = ERROR_ACCESS_DENIED;
  const DWORD unlistable = standin::AddProcess("C:\\WINNT\\INETD.EXE");
  standin::ProcessById(unlistable).modulesError = 299;
  const DWORD nameless = standin::AddProcess("C:\\WINNT\\INETD.EXE");
  standin::ProcessById(nameless).nameError = ERROR_ACCESS_DENIED;
  const DWORD target = standin::AddProcess("C:\\WINNT\\INETD.EXE");

  EXPECT_EQ(Kill("C:\\WINNT\\INETD.EXE"), 0u);
  EXPECT_TRUE(standin::IsRunning(unopenable));
  EXPECT_TRUE(standin::IsRunning(unlistable));
  EXPECT_TRUE(standin::IsRunning(nameless));
  EXPECT_FALSE(standin::IsRunning(target));
}

TEST_F(TerminatorTest, NtNeverTakesAnUnreadableNameForTheBuffersPreset) {
  const DWORD nameless = standin::AddProcess("C:\\WINNT\\SECRET.EXE");
  standin::ProcessById(nameless).nameError = ERROR_ACCESS_DENIED;
  const DWORD other = standin::AddProcess("C:\\WINNT\\OTHER.EXE");
  const DWORD alsoNameless = standin::AddProcess("C:\\WINNT\\HIDDEN.EXE");
  standin::ProcessById(alsoNameless).nameError = ERROR_ACCESS_DENIED;

  EXPECT_EQ(Kill("ProcessName"), ERROR_NO_MORE_FILES);
  EXPECT_EQ(Kill("OTHER.EXE"), 0u);
  EXPECT_TRUE(standin::IsRunning(nameless));
  EXPECT_TRUE(standin::IsRunning(alsoNameless));
  EXPECT_FALSE(standin::IsRunning(other));
}

TEST_F(TerminatorTest, NtExaminesOnly1024Ids) {
  for (int i = 0; i < 1024; ++i) {
    standin::AddProcess("C:\\WINNT\\IDLE.EXE");
  }
  const DWORD beyond = standin::AddProcess("C:\\WINNT\\INETD.EXE");
  EXPECT_EQ(Kill("INETD.EXE"), ERROR_NO_MORE_FILES);
  EXPECT_TRUE(standin::IsRunning(beyond));
  EXPECT_EQ(standin::JournalOf("OpenProcess").size(), 1024u);
}

TEST_F(TerminatorTest, NtStatusWhenNothingIsTerminated) {
  const struct {
    const char* name;
    DWORD lastErrorBefore;
    DWORD openError;  // of the one other process
    DWORD terminateError;
    DWORD status;
  } cases[] = {
      // Not running is "no more files", never a code that an unrelated call left behind.
      {"no match, nothing failed: never 0", 0, 0, 0, ERROR_NO_MORE_FILES},
      {"no match, a stale code from before the walk", 126, 0, 0, ERROR_NO_MORE_FILES},
      {"no match, an unrelated process could not be opened", 0, ERROR_ACCESS_DENIED, 0,
       ERROR_NO_MORE_FILES},
      {"no match, an invalid handle from an unrelated process", 0, ERROR_INVALID_HANDLE, 0,
       ERROR_NO_MORE_FILES},
      {"termination of the match fails", 0, 0, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED},
  };
  for (const auto& c : cases) {
    ResetMachineForTest().lastError = c.lastErrorBefore;
    const DWORD other = standin::AddProcess("C:\\WINNT\\OTHER.EXE");
    standin::ProcessById(other).openError = c.openError;
    if (c.terminateError) {
      standin::ProcessById(standin::AddProcess("C:\\WINNT\\INETD.EXE")).terminateError =
          c.terminateError;
    }
    EXPECT_EQ(Kill("C:\\WINNT\\INETD.EXE"), c.status) << c.name;
    EXPECT_EQ(standin::OpenHandleCount(), 0u) << c.name;
  }
}

TEST_F(TerminatorTest, MissingLibraryOrEntryPointStartsNoWalk) {
  const struct {
    const char* name;
    DWORD platformId;
    const char* library;
    const char* entryPoint;
    DWORD status;
  } cases[] = {
      {"NT, no PSAPI", VER_PLATFORM_WIN32_NT, "PSAPI.DLL", nullptr, ERROR_MOD_NOT_FOUND},
      {"NT, no EnumProcesses", VER_PLATFORM_WIN32_NT, nullptr, "EnumProcesses",
       ERROR_PROC_NOT_FOUND},
      {"NT, no GetModuleBaseNameA", VER_PLATFORM_WIN32_NT, nullptr, "GetModuleBaseNameA",
       ERROR_PROC_NOT_FOUND},
      {"9x, no snapshot library", VER_PLATFORM_WIN32_WINDOWS, "KERNEL32.DLL", nullptr,
       ERROR_MOD_NOT_FOUND},
      {"9x, no CreateToolhelp32Snapshot", VER_PLATFORM_WIN32_WINDOWS, nullptr,
       "CreateToolhelp32Snapshot", ERROR_PROC_NOT_FOUND},
  };
  for (const auto& c : cases) {
    ResetMachineForTest().platformId = c.platformId;
    if (c.library) machine().unloadableLibraries.insert(c.library);
    if (c.entryPoint) machine().missingEntryPoints.insert(c.entryPoint);
    const DWORD id = standin::AddProcess("C:\\WINNT\\INETD.EXE");
    EXPECT_EQ(Kill("C:\\WINNT\\INETD.EXE"), c.status) << c.name;
    EXPECT_TRUE(standin::IsRunning(id)) << c.name;
    EXPECT_TRUE(standin::JournalOf("EnumProcesses").empty()) << c.name;
    EXPECT_TRUE(standin::JournalOf("CreateToolhelp32Snapshot").empty()) << c.name;
  }
}

TEST_F(TerminatorTest, FailedVersionQueryOrOtherFamilyTouchesNothing) {
  const DWORD id = standin::AddProcess("C:\\WINNT\\INETD.EXE");
  standin::FailOperation("GetVersionExA", ERROR_ACCESS_DENIED, 1);
  EXPECT_EQ(Kill("C:\\WINNT\\INETD.EXE"), ERROR_ACCESS_DENIED);
  machine().platformId = 3;
  machine().lastError = 42;
  EXPECT_EQ(Kill("C:\\WINNT\\INETD.EXE"), 42u);
  EXPECT_TRUE(standin::IsRunning(id));
  EXPECT_TRUE(machine().loadedLibraries.empty());
}

class SnapshotTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    standin::UseWin9x();
  }
};

TEST_F(SnapshotTest, MatchesTheFullPathIgnoringAsciiCaseOnly) {
  const struct {
    const char* listed;
    bool terminated;
  } cases[] = {
      {"C:\\WINDOWS\\INETD.EXE", true},
      {"c:\\windows\\inetd.exe", true},
      {"C:\\OTHER\\INETD.EXE", false},
      {"INETD.EXE", false},
      {"C:\\WINDOWS\\INETD.EXE ", false},
      {"C:\\WINDOWS\\\xc9NETD.EXE", false},  // not an ASCII letter: must match byte for byte
  };
  for (const auto& c : cases) {
    ResetMachineForTest();
    standin::UseWin9x();
    const DWORD id = standin::AddProcess(c.listed);
    const DWORD status = Kill("C:\\WINDOWS\\INETD.EXE");
    EXPECT_EQ(standin::IsRunning(id), !c.terminated) << c.listed;
    EXPECT_EQ(status, c.terminated ? 0u : static_cast<DWORD>(ERROR_NO_MORE_FILES)) << c.listed;
    EXPECT_EQ(machine().transcript, "...") << c.listed;
    EXPECT_EQ(standin::OpenHandleCount(), 0u) << c.listed;
  }
}

TEST_F(SnapshotTest, PausesWaitsAndTerminatesTheFirstOfTwo) {
  const DWORD first = standin::AddProcess("C:\\WINDOWS\\INETD.EXE");
  const DWORD second = standin::AddProcess("C:\\WINDOWS\\INETD.EXE");
  EXPECT_EQ(Kill("C:\\WINDOWS\\INETD.EXE"), 0u);
  EXPECT_FALSE(standin::IsRunning(first));
  EXPECT_TRUE(standin::IsRunning(second));
  ASSERT_EQ(machine().pauses.size(), 1u);
  EXPECT_EQ(machine().pauses[0].milliseconds, 1000u);
  EXPECT_EQ(machine().waits, std::vector<DWORD>{4000});
  EXPECT_EQ(machine().clock, 5000u);
  EXPECT_EQ(standin::JournalOf("OpenProcess"),
            std::vector<std::string>{"OpenProcess 0x1 0 " + std::to_string(first)});
  EXPECT_EQ(standin::JournalOf("TerminateProcess"),
            std::vector<std::string>{"TerminateProcess " + std::to_string(first) + " 259"});
  EXPECT_EQ(standin::JournalOf("LoadLibraryA"),
            std::vector<std::string>{"LoadLibraryA KERNEL32.DLL"});
  EXPECT_EQ(standin::JournalOf("Process32First"), std::vector<std::string>{"Process32First 296"});
}

TEST_F(SnapshotTest, TerminatesEvenWhenTheProcessEndsWithinTheWait) {
  const DWORD id = standin::AddProcess("C:\\WINDOWS\\INETD.EXE");
  standin::ProcessById(id).endsAfterMs = 1500;
  // Terminating a process that is already gone fails; the status says so.
  EXPECT_EQ(Kill("C:\\WINDOWS\\INETD.EXE"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(standin::JournalOf("TerminateProcess").size(), 1u);
  EXPECT_EQ(machine().clock, 2500u);
}

TEST_F(SnapshotTest, FailuresOnAMatchOrOfTheListReportTheirOwnCode) {
  const struct {
    const char* name;
    const char* operation;
    DWORD code;
    bool terminateCalled;
  } cases[] = {
      {"snapshot fails", "CreateToolhelp32Snapshot", ERROR_ACCESS_DENIED, false},
      {"first entry fails", "Process32First", ERROR_NO_MORE_FILES, false},
      {"open fails: no call with a null handle", "OpenProcess", ERROR_ACCESS_DENIED, false},
      {"termination fails", "TerminateProcess", ERROR_ACCESS_DENIED, true},
  };
  for (const auto& c : cases) {
    ResetMachineForTest().lastError = 126;  // stale, as Wine leaves it at start-up
    standin::UseWin9x();
    const DWORD id = standin::AddProcess("C:\\WINDOWS\\INETD.EXE");
    standin::FailOperation(c.operation, c.code);
    EXPECT_EQ(Kill("C:\\WINDOWS\\INETD.EXE"), c.code) << c.name;
    EXPECT_TRUE(standin::IsRunning(id)) << c.name;
    EXPECT_EQ(standin::JournalOf("TerminateProcess").size(), c.terminateCalled ? 1u : 0u) << c.name;
    EXPECT_TRUE(standin::JournalOf("WaitForSingleObject").size() == (c.terminateCalled ? 1u : 0u))
        << c.name;
    EXPECT_EQ(standin::OpenHandleCount(), 0u) << c.name;
  }
}

TEST_F(SnapshotTest, ASuccessfulKillIsReportedAsSuchDespiteAStaleCode) {
  machine().lastError = 126;
  standin::AddProcess("C:\\WINDOWS\\INETD.EXE");
  EXPECT_EQ(Kill("C:\\WINDOWS\\INETD.EXE"), 0u);
}

TEST_F(TerminatorTest, TwoCallsInARowBindAgainAndBehaveAlike) {
  for (DWORD platform : {VER_PLATFORM_WIN32_NT, VER_PLATFORM_WIN32_WINDOWS}) {
    ResetMachineForTest().platformId = platform;
    const DWORD a = standin::AddProcess("C:\\WINDOWS\\INETD.EXE");
    const DWORD b = standin::AddProcess("C:\\WINDOWS\\INETD.EXE");
    EXPECT_EQ(Kill("C:\\WINDOWS\\INETD.EXE"), 0u) << platform;
    EXPECT_EQ(Kill("C:\\WINDOWS\\INETD.EXE"), 0u) << platform;
    EXPECT_FALSE(standin::IsRunning(a) || standin::IsRunning(b)) << platform;
    EXPECT_EQ(machine().loadedLibraries.size(), 2u) << platform;
    EXPECT_EQ(standin::JournalOf("GetProcAddress").size(), 6u) << platform;
    EXPECT_EQ(standin::OpenHandleCount(), 0u) << platform;
  }
}

}  // namespace
