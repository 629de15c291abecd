// Entry point of the end-to-end test programs: GoogleTest with a screenshot
// at each failing test and a check of the ANSI code page.
#include <gtest/gtest.h>

#include "driver/gtest_hooks.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new tovan::e2e::AnsiCodePageEnvironment);
  ::testing::UnitTest::GetInstance()->listeners().Append(new tovan::e2e::ScreenshotOnFailure);
  return RUN_ALL_TESTS();
}
