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

// Opened inside a zip, Explorer runs the program from a folder inside the
// temporary folder and removes it later: the program says so at start.
TEST(RunFolderTest, StartedFromInsideTheTemporaryFolderItSaysWhereItsFilesWouldGo) {
  wchar_t temp[MAX_PATH];
  ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
  const std::filesystem::path zip = std::filesystem::path(temp) / L"Temp1_tovan.zip";
  const std::filesystem::path folder = zip / L"tovan";
  std::filesystem::create_directories(folder);
  std::filesystem::copy_file(ThisExeDirectory() + L"\\tovan.exe", folder / L"tovan.exe",
                             std::filesystem::copy_options::overwrite_existing);
  ChildProcess program = ChildProcess::Start((folder / L"tovan.exe").wstring());
  HWND box = FindTopWindow("温馨提示", 15000, program.Id());
  ASSERT_NE(box, nullptr);
  std::string text;
  for (int i = 0; HWND label = FindChildByClass(box, L"Static", i); ++i)
    if (const auto t = WindowText(label); t && t->size() > text.size()) text = *t;
  EXPECT_NE(text.find("从压缩包里直接打开"), std::string::npos) << text;
  EXPECT_NE(text.find("Temp1_tovan.zip"), std::string::npos) << text;
  PostMessageW(box, WM_CLOSE, 0, 0);
  HWND window = FindTopWindow(kTovanTitle, 10000, program.Id());
  ASSERT_NE(window, nullptr);
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitExit(10000), 0u);
  std::error_code ignored;
  std::filesystem::remove_all(zip, ignored);
}

}  // namespace
}  // namespace tovan::e2e
