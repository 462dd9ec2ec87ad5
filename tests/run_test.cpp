// Whole runs of the program: banner to final key, on each family.
#include "cleaning/cleaner.h"
#include "machine_test.h"

namespace {

using RunTest = MachineTest;

const char kNotInfected[] = "\nYour System is not infected\nPress any key to exit";

struct FamilyCase {
  const char* name;
  DWORD platformId;
  std::string stageTexts;
};

TEST_F(RunTest, EachFamilyRunsItsOwnStageThenTheClosingTexts) {
  const FamilyCase cases[] = {
      {"NT", VER_PLATFORM_WIN32_NT,
       "\nChecking Registry Entry...\n\tRemoving Registry Key Failed/NotFound."},
      {"Win9x", VER_PLATFORM_WIN32_WINDOWS, "\nChecking \"WIN.INI\"..."},
      {"Win32s", VER_PLATFORM_WIN32s, ""},
      {"unknown family 3", 3, ""},
  };
  for (const FamilyCase& c : cases) {
    ResetMachineForTest().platformId = c.platformId;
    standin::PressCharacter('a');
    standin::PressCharacter('b');

    EXPECT_EQ(RunCleaner(), kExitNotInfected) << c.name;
    EXPECT_EQ(machine().transcript,
              ExpectedBanner() + kContinuePrompt + c.stageTexts + kNotInfected)
        << c.name;
    EXPECT_EQ(machine().keyReads, 2) << c.name;
    EXPECT_TRUE(machine().keys.empty()) << c.name << ": both keys read";
    EXPECT_TRUE(standin::JournalOf("LoadLibraryA").empty()) << c.name;
    EXPECT_TRUE(standin::JournalOf("DeleteFileA").empty()) << c.name;
    EXPECT_EQ(machine().clock, 0u) << c.name;
  }
}

TEST_F(RunTest, AFailedVersionQueryEndsSilentlyAfterTheFirstKey) {
  standin::FailOperation("GetVersionExA", 5);
  standin::PressCharacter('a');

  EXPECT_EQ(RunCleaner(), kExitNotStarted);
  EXPECT_EQ(machine().transcript, ExpectedBanner() + kContinuePrompt);
  EXPECT_EQ(machine().keyReads, 1);
  EXPECT_EQ(standin::JournalOf("GetVersionExA"), std::vector<std::string>{"GetVersionExA 148"});
}

TEST_F(RunTest, ASpecialKeyAtTheFirstPromptAlsoAnswersTheLast) {
  standin::PressSpecial(224, 72);
  EXPECT_EQ(RunCleaner(), kExitNotInfected);
  EXPECT_EQ(machine().keyReads, 2);
  EXPECT_EQ(machine().keyReadsWithNothingToRead, 0);
}

TEST_F(RunTest, RedirectedInputRunsThroughWithoutReadingTheConsole) {
  machine().standardInput = standin::StandardInput::File;  // fix_molivern.exe < NUL
  standin::SetRegistryString(kRunOnceKey, "Kernel32", "x");
  EXPECT_EQ(RunCleaner(), kExitCleaned);
  const std::string closing = "\n\nFinish cleaning your system.\nPress any key to exit";
  EXPECT_EQ(machine().transcript.substr(machine().transcript.size() - closing.size()), closing);
  EXPECT_EQ(machine().keyReads, 0);
  EXPECT_EQ(machine().keyReadsWithNothingToRead, 0);
}

}  // namespace
