#include "console/banner.h"

#include <vector>

#include "machine_test.h"

namespace {

using BannerTest = MachineTest;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end + 1 - start));
  }
  return lines;
}

TEST_F(BannerTest, WritesTwentyFramedLinesThenThePromptThenWaitsOnce) {
  standin::PressCharacter('x');
  ShowBanner();

  EXPECT_EQ(machine().transcript, ExpectedBanner() + kContinuePrompt);
  std::vector<std::string> lines = Lines(ExpectedBanner());
  ASSERT_EQ(lines.size(), 20u);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].size(), i == 10 ? 60u : 61u) << "line " << i + 1;
  }
  EXPECT_EQ(lines[2], " =               FIX_MOLIVERN.A Version 1.0                =\n");
  EXPECT_EQ(lines[8], " =    This program will kill TROJ_MOLIVERN.A from memory   =\n");
  EXPECT_EQ(lines[10], " =    1. Delete WIN.INI Entry                             =\n");
  EXPECT_EQ(machine().keyReads, 1);
  EXPECT_EQ(machine().keyReadsWithNothingToRead, 0);
}

TEST_F(BannerTest, EachLineIsItsOwnWriteSoTheScreenFillsTopToBottom) {
  // The journal does not list writes; a failing write shows that each line is written apart.
  standin::FailOperation("WriteFile", 5, 1);
  standin::PressCharacter('x');
  ShowBanner();
  EXPECT_EQ(machine().transcript, ExpectedBanner().substr(61) + kContinuePrompt);
}

struct KeyCase {
  const char* name;
  std::vector<standin::KeyPress> presses;
  std::vector<int> codes;  // what two waits in a row return
  int readsWithNothingToRead;
};

TEST_F(BannerTest, KeyWaits) {
  using standin::KeyKind;
  const KeyCase cases[] = {
      {"letter, then letter",
       {{KeyKind::Character, 'a', 0}, {KeyKind::Character, 'b', 0}},
       {'a', 'b'},
       0},
      {"modifiers and releases do not end a wait",
       {{KeyKind::ModifierOnly, 0, 0},
        {KeyKind::Release, 0, 0},
        {KeyKind::Character, 'q', 0},
        {KeyKind::Release, 0, 0},
        {KeyKind::Character, 'r', 0}},
       {'q', 'r'},
       0},
      {"Up arrow: lead code, then its held code without waiting",
       {{KeyKind::Special, 72, 224}},
       {224, 72},
       0},
      {"F1: lead code 0", {{KeyKind::Special, 59, 0}}, {0, 59}, 0},
      {"Ctrl+C is an ordinary key",
       {{KeyKind::Character, 3, 0}, {KeyKind::Character, 3, 0}},
       {3, 3},
       0},
  };
  for (const KeyCase& c : cases) {
    ResetMachineForTest();
    machine().keys.assign(c.presses.begin(), c.presses.end());
    const int first = WaitForKey();
    const int second = WaitForKey();
    EXPECT_EQ(first, c.codes[0]) << c.name;
    EXPECT_EQ(second, c.codes[1]) << c.name;
    EXPECT_EQ(machine().keyReadsWithNothingToRead, c.readsWithNothingToRead) << c.name;
  }
}

// Unattended runs: whenever standard input is not the console, nobody is there to press a key,
// so neither wait may read the console, even when there is one (a window nobody sees, a remote
// session) and even when keys happen to be waiting in it.
TEST_F(BannerTest, StandardInputThatIsNotTheConsoleEndsBothWaitsAtOnce) {
  using standin::StandardInput;
  const struct {
    const char* name;
    StandardInput input;
    bool console;
    int code;  // what both waits return
    int keyReads;
  } cases[] = {
      {"a console", StandardInput::Console, true, 'k', 2},
      {"a file, in a console window", StandardInput::File, true, kEndOfInput, 0},
      {"a pipe, in a console window", StandardInput::Pipe, true, kEndOfInput, 0},
      {"a file, no console", StandardInput::File, false, kEndOfInput, 0},
      {"no standard input and no console", StandardInput::None, false, kEndOfInput, 0},
  };
  for (const auto& c : cases) {
    ResetMachineForTest();
    machine().standardInput = c.input;
    machine().hasConsole = c.console;
    standin::PressCharacter('k');
    standin::PressCharacter('k');

    EXPECT_EQ(WaitForKey(), c.code) << c.name;
    EXPECT_EQ(WaitForKey(), c.code) << c.name;
    EXPECT_EQ(machine().keyReads, c.keyReads) << c.name;
    EXPECT_EQ(machine().keyReadsWithNothingToRead, 0) << c.name;
  }
}

TEST_F(BannerTest, AConsoleThatCannotBeOpenedEndsTheWaitAtOnce) {
  machine().hasConsole = false;
  EXPECT_EQ(WaitForKey(), kEndOfInput);
  EXPECT_EQ(machine().keyReadsWithNothingToRead, 0);
}

}  // namespace
