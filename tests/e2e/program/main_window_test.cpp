// The real program under Wine, seen from outside: its main window.
#include <gtest/gtest.h>
#include <windows.h>

#include "driver/process.h"
#include "driver/wait_until.h"
#include "driver/window.h"
#include "tests/e2e/program/program_fixture.h"

namespace tovan::e2e {
namespace {

using MainWindowTest = TovanTest;

TEST_F(MainWindowTest, OpensWithItsTitleAndFixedSize) {
  const RECT r = WindowRect(window_);
  EXPECT_EQ(r.right - r.left, 460);
  EXPECT_EQ(r.bottom - r.top, 690);
  const LONG style = GetWindowLongW(window_, GWL_STYLE);
  EXPECT_EQ(style & WS_THICKFRAME, 0) << "the window must not be resizable";
  EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
  EXPECT_NE(style & WS_MINIMIZEBOX, 0);
  EXPECT_EQ(WindowText(window_), "2018Tovan复制粘贴工具V10.0");
}

TEST_F(MainWindowTest, MinimisingHidesTheWindowUntilTheTrayIconBringsItBack) {
  PostMessageW(window_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window_); }));
  // The tray icon's notification, as the shell sends it for a left click.
  constexpr UINT kTrayMessage = WM_APP + 1;
  PostMessageW(window_, kTrayMessage, 1, WM_RBUTTONUP);  // not action 1: stays hidden
  PostMessageW(window_, kTrayMessage, 1, WM_LBUTTONUP);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(window_) && !IsIconic(window_); }));
}

TEST_F(MainWindowTest, ClosingTheWindowEndsTheProgramWithExitCodeZero) {
  PostMessageW(window_, WM_CLOSE, 0, 0);
  EXPECT_EQ(program_.WaitExit(5000), 0u);
}

}  // namespace
}  // namespace tovan::e2e
