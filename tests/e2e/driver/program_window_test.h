// GoogleTest fixture for tests that drive one program: starts it from the
// test program's folder, waits until its window is shown and the program has
// reached its message loop, and at the end closes it the way a user would
// and expects it to exit cleanly (exit code 0).
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "driver/process.h"
#include "driver/window.h"

namespace tovan::e2e {

class ProgramWindowTest : public ::testing::Test {
 protected:
  // Starts exe_name from the test program's folder and waits for its
  // visible top-level window titled title (UTF-8).
  void Launch(const std::wstring& exe_name, const char* title,
              const std::vector<std::wstring>& args = {}) {
    program_ = ChildProcess::Start(ThisExeDirectory() + L"\\" + exe_name, args);
    window_ = FindTopWindow(title, 10000, program_.Id());
    ASSERT_NE(window_, nullptr) << "no window titled \"" << title << "\" appeared";
    // Shown is not yet started: let it reach its message loop.
    ASSERT_TRUE(program_.WaitForInputIdle(10000));
  }

  void TearDown() override {
    if (!program_.Running()) return;
    PostMessageW(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(program_.WaitExit(5000), 0u) << "the program did not exit cleanly on WM_CLOSE";
  }

  // The descendant of the window with that control id, or nullptr.
  HWND Child(int id) const { return FindChildById(window_, id); }

  ChildProcess program_;
  HWND window_ = nullptr;
};

}  // namespace tovan::e2e
