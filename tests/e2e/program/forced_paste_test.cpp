// Forced paste without the clipboard, into another program: send-keys
// typing across two fields, and characters posted as GBK bytes.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <filesystem>

#include "driver/input.h"
#include "driver/program_window_test.h"
#include "driver/wait_until.h"
#include "driver/window.h"
#include "paste/forced_paste.h"
#include "runtime/win32/win32_platform.h"

namespace tovan::e2e {
namespace {

class ForcedPasteTest : public ProgramWindowTest {
 protected:
  void SetUp() override {
    rt::win32::PrepareProcess();
    log_ = ThisExeDirectory() + L"\\forced-paste-chars.log";
    std::filesystem::remove(std::filesystem::path(log_));
    Launch(L"tovan_target.exe", "Tovan Target", {L"--log", log_});
  }
  std::string Log() {
    std::ifstream in(std::filesystem::path(log_), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  rt::win32::Win32Platform platform_{GetModuleHandleW(nullptr)};
  std::wstring log_;
};

TEST_F(ForcedPasteTest, SendKeysTypingFillsTwoFieldsWithTheSyntaxApplied) {
  ASSERT_TRUE(FocusControl(Child(101)));
  paste::Typist typist(platform_.keys);
  typist.TypeBySendKeys("张三{TAB}abc+1");
  EXPECT_TRUE(WaitUntil([&] { return WindowText(Child(101)) == "张三" && WindowText(Child(102)) == "abc!"; }))
      << *WindowText(Child(101)) << " | " << *WindowText(Child(102));
}

TEST_F(ForcedPasteTest, TwoChineseCharactersPostedAsFourBytesArriveAsTwoCharacters) {
  paste::PostTextToWindow(platform_.messages, reinterpret_cast<std::uintptr_t>(Child(103)), "张三");
  EXPECT_TRUE(WaitUntil([&] { return WindowText(Child(103)) == "张三"; })) << *WindowText(Child(103));
  EXPECT_EQ(Log(), "char 103 0x5f20\nchar 103 0x4e09\n");
}

}  // namespace
}  // namespace tovan::e2e
