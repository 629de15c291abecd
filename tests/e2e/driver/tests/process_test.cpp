// Starting, waiting for and ending the programs a test drives.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <utility>

#include "driver/process.h"
#include "driver/window.h"

namespace tovan::e2e {
namespace {

ChildProcess StartTarget() {
  return ChildProcess::Start(ThisExeDirectory() + L"\\tovan_target.exe");
}

TEST(ChildProcessTest, ReportsExitCodeOnceTheProgramEnds) {
  ChildProcess target = StartTarget();
  HWND window = FindTopWindow("Tovan Target", 10000, target.Id());
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(target.Running());
  EXPECT_EQ(target.WaitExit(0), std::nullopt);

  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(target.WaitExit(5000), 0u);
  EXPECT_FALSE(target.Running());
}

TEST(ChildProcessTest, TerminateEndsARunningProgram) {
  ChildProcess target = StartTarget();
  ASSERT_NE(FindTopWindow("Tovan Target", 10000, target.Id()), nullptr);
  target.Terminate();
  EXPECT_FALSE(target.Running());
  EXPECT_EQ(target.WaitExit(0), 1u);
}

TEST(ChildProcessTest, DestroyingEndsTheProgramAndMovingHandsItOver) {
  HANDLE watch = nullptr;
  {
    ChildProcess first = StartTarget();
    ASSERT_NE(FindTopWindow("Tovan Target", 10000, first.Id()), nullptr);
    watch = OpenProcess(SYNCHRONIZE, FALSE, first.Id());
    ASSERT_NE(watch, nullptr);

    ChildProcess second = std::move(first);
    EXPECT_FALSE(first.Running());  // NOLINT(bugprone-use-after-move): moved-from is empty
    EXPECT_EQ(first.Id(), 0u);      // NOLINT(bugprone-use-after-move)
    EXPECT_TRUE(second.Running());
    EXPECT_EQ(WaitForSingleObject(watch, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  }
  EXPECT_EQ(WaitForSingleObject(watch, 0), static_cast<DWORD>(WAIT_OBJECT_0));
  CloseHandle(watch);
}

TEST(ChildProcessTest, StartingAMissingProgramThrows) {
  EXPECT_THROW(ChildProcess::Start(ThisExeDirectory() + L"\\no_such_program.exe"),
               std::runtime_error);
}

TEST(ChildProcessTest, ArgumentsAreQuotedForTheCRuntime) {
  EXPECT_EQ(QuoteArgument(L"plain"), L"plain");
  EXPECT_EQ(QuoteArgument(L""), L"\"\"");
  EXPECT_EQ(QuoteArgument(L"with space"), L"\"with space\"");
  EXPECT_EQ(QuoteArgument(L"say \"hi\""), L"\"say \\\"hi\\\"\"");
  EXPECT_EQ(QuoteArgument(L"C:\\dir with space\\"), L"\"C:\\dir with space\\\\\"");
  EXPECT_EQ(QuoteArgument(L"C:\\no\\quotes"), L"C:\\no\\quotes");
}

}  // namespace
}  // namespace tovan::e2e
