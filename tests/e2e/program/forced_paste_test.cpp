// Forced paste without the clipboard, into another program: send-keys
// typing across two fields, and characters posted as GBK bytes.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <filesystem>

#include "driver/input.h"
#include "driver/text.h"
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

// An old program's window, made with the ANSI functions: each WM_CHAR it is
// given is one byte of the system's code page, which it reads as such.
std::string ansi_bytes;
LRESULT CALLBACK AnsiProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_CHAR) ansi_bytes += static_cast<char>(w & 0xFF);
  return DefWindowProcA(window, message, w, l);
}

TEST_F(ForcedPasteTest, CharactersPostedToAWindowThatIsNotUnicodeArriveAsTheRightCharacters) {
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = AnsiProc;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.lpszClassName = "TovanAnsiWindow";
  RegisterClassA(&window_class);
  HWND ansi = CreateWindowExA(0, "TovanAnsiWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(ansi, nullptr);
  ASSERT_FALSE(platform_.messages.IsUnicodeWindow(reinterpret_cast<std::uintptr_t>(ansi)));
  ansi_bytes.clear();
  paste::PostTextToWindow(platform_.messages, reinterpret_cast<std::uintptr_t>(ansi), "张三，ok");
  // What the window reads, in its own code page.
  auto read = [] {
    std::wstring wide(ansi_bytes.size(), L'\0');
    wide.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, ansi_bytes.data(),
                                                             static_cast<int>(ansi_bytes.size()), wide.data(),
                                                             static_cast<int>(wide.size()))));
    return WideToUtf8(wide);
  };
  const bool arrived = WaitUntil([&] {
    MSG message;
    while (PeekMessageA(&message, ansi, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    return read() == "张三，ok";
  });
  EXPECT_TRUE(arrived) << read();
  DestroyWindow(ansi);
}

TEST_F(ForcedPasteTest, TwoChineseCharactersPostedAsFourBytesArriveAsTwoCharacters) {
  paste::PostTextToWindow(platform_.messages, reinterpret_cast<std::uintptr_t>(Child(103)), "张三");
  EXPECT_TRUE(WaitUntil([&] { return WindowText(Child(103)) == "张三"; })) << *WindowText(Child(103));
  EXPECT_EQ(Log(), "char 103 0x5f20\nchar 103 0x4e09\n");
}

}  // namespace
}  // namespace tovan::e2e
