// Where the window opens on a scaled display: at 150% (144 DPI) on a
// 1280 x 1024 screen the window is taller than the screen, and its title
// bar must still be on it.
#include <gtest/gtest.h>
#include <windows.h>

#include "driver/program_window_test.h"
#include "driver/wait_until.h"
#include "driver/window.h"
#include "tests/e2e/program/program_fixture.h"

namespace tovan::e2e {
namespace {

// The display scale a program started from now on sees.
void SetLogPixels(DWORD dpi) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return;
  RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
  RegCloseKey(key);
}

class PlacementTest : public ProgramWindowTest {
 protected:
  void TearDown() override {
    ProgramWindowTest::TearDown();
    SetLogPixels(96);
  }
};

TEST_F(PlacementTest, AtOneHundredFiftyPercentTheTitleBarStaysOnTheScreen) {
  ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
  ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 1024);
  SetLogPixels(144);
  Launch(L"tovan.exe", kTovanTitle);
  ASSERT_FALSE(HasFatalFailure());
  // 690 x 1035 at 150%: 100 pixels from the right edge, and from the top.
  ASSERT_TRUE(WaitUntil([&] { return WindowRect(window_).left == 1280 - 690 - 100; }, 10000))
      << WindowRect(window_).left << " " << WindowRect(window_).right;
  const RECT placed = WindowRect(window_);
  EXPECT_EQ(placed.bottom - placed.top, 1035);
  EXPECT_EQ(placed.top, 0);
}

}  // namespace
}  // namespace tovan::e2e
