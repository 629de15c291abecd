// One running instance; the recorder hotkey texts survive a restart.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "driver/controls.h"
#include "driver/process.h"
#include "driver/wait_until.h"
#include "driver/window.h"
#include "tests/e2e/program/program_fixture.h"

namespace tovan::e2e {
namespace {

std::string ReadBytes(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class InstanceTest : public TovanTest {
 protected:
  void SetUp() override {
    DeleteFileW(SettingsPath().c_str());
    TovanTest::SetUp();
  }
  void TearDown() override {
    TovanTest::TearDown();
    DeleteFileW(SettingsPath().c_str());
  }
};

TEST_F(InstanceTest, ASecondStartClosesItselfWhileTheFirstKeepsRunning) {
  ChildProcess second = ChildProcess::Start(ThisExeDirectory() + L"\\tovan.exe");
  EXPECT_EQ(second.WaitExit(15000), 0u);
  EXPECT_TRUE(program_.Running());
  EXPECT_TRUE(IsWindow(window_));
  EXPECT_EQ(FindTopWindow(kTovanTitle, 0, second.Id(), false), nullptr);
}

TEST_F(InstanceTest, TheRecorderHotkeyTextsSurviveARestartInGbk) {
  ASSERT_TRUE(SetWindowTextTo(Control("记录"), "Ctrl+加号"));
  ASSERT_TRUE(SetWindowTextTo(Control("模拟"), "F9"));
  // A key name with spaces around it: written between quotes.
  ASSERT_TRUE(SetWindowTextTo(Control("停止"), "Ctrl+ / "));
  PostMessageW(window_, WM_CLOSE, 0, 0);
  ASSERT_EQ(program_.WaitExit(10000), 0u);
  EXPECT_EQ(ReadBytes(SettingsPath()),
            "[\xB1\xE0\xBC\xAD\xBF\xF2\xC4\xDA\xC8\xDD]\r\n"
            "\xBC\xC7\xC2\xBC=Ctrl+\xBC\xD3\xBA\xC5\r\n"
            "\xC4\xA3\xC4\xE2=F9\r\n"
            "\xCD\xA3\xD6\xB9=\"Ctrl+ / \"\r\n");
  LaunchTovan();
  EXPECT_EQ(WindowText(Control("记录")), "Ctrl+加号");
  EXPECT_EQ(WindowText(Control("模拟")), "F9");
  EXPECT_EQ(WindowText(Control("停止")), "Ctrl+ / ");
  // Switched on, the recorder registers it: the combination is taken.
  ASSERT_TRUE(ClickButton(Control("按钮5")));
  ASSERT_TRUE(WaitUntil([&] { return WindowText(Control("按钮5")) == "关闭按键精灵"; }));
  Sleep(600);
  EXPECT_TRUE(WaitUntil([] {
    if (!RegisterHotKey(nullptr, 0xBFFD, MOD_CONTROL, VK_OEM_2)) return true;
    UnregisterHotKey(nullptr, 0xBFFD);
    return false;
  }, kDefaultTimeoutMs, 200)) << "Ctrl+ / was not registered";
  EXPECT_EQ(WindowText(Control("停止")), "Ctrl+ / ");
}

}  // namespace
}  // namespace tovan::e2e
