// Tests run the logic on a fresh simulated machine and check, after every test, that nothing the
// logic opened was left open.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/stand_in/machine.h"

class MachineTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetMachineForTest(); }
  void TearDown() override { EXPECT_EQ(standin::OpenHandleCount(), 0u) << "handles left open"; }
  static standin::Machine& ResetMachineForTest() { return standin::ResetMachine(); }
  static standin::Machine& machine() { return standin::TheMachine(); }
};

// The banner as the user must see it, built from its layout rather than copied from the program.
std::string ExpectedBanner();

const char kContinuePrompt[] = "\n Press any key to continue....\n";
const char kRunOnceKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
