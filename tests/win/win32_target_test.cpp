// The program being filled, read from outside as a paste does: the fields
// of the end-to-end target program, in a process of its own.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "runtime/win32/win32_target.h"

namespace tovan::rt::win32 {
namespace {

HWND FindTarget(DWORD process) {
  for (int tries = 0; tries < 200; ++tries, Sleep(50))
    for (HWND top = GetTopWindow(nullptr); top; top = GetNextWindow(top, GW_HWNDNEXT)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(top, &owner);
      wchar_t title[32] = {};
      GetWindowTextW(top, title, 32);
      if (owner == process && std::wstring(title) == L"Tovan Target") return top;
    }
  return nullptr;
}

// The target program started with `switches`, closed at the end.
class TargetProcess {
 public:
  explicit TargetProcess(const std::wstring& switches) {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(exe);
    command = command.substr(0, command.find_last_of(L'\\') + 1) + L"tovan_target.exe\" " + switches;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_)) {
      WaitForInputIdle(info_.hProcess, 10000);
      window_ = FindTarget(info_.dwProcessId);
    }
  }
  ~TargetProcess() {
    if (!info_.hProcess) return;
    TerminateProcess(info_.hProcess, 0);
    WaitForSingleObject(info_.hProcess, 5000);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  HWND Field(int id) const { return GetDlgItem(window_, id); }
  HANDLE MainThread() const { return info_.hThread; }

 private:
  PROCESS_INFORMATION info_{};
  HWND window_ = nullptr;
};

std::uintptr_t Id(HWND hwnd) { return reinterpret_cast<std::uintptr_t>(hwnd); }

TEST(Win32TargetTest, PlainAndRichFieldsOfAnotherProcessAreReadWithTheirSelectionAndAHungOneIsGivenUp) {
  TargetProcess target(L"--rich");
  HWND field = target.Field(101);
  HWND memo = target.Field(105);
  ASSERT_NE(field, nullptr);
  ASSERT_NE(memo, nullptr);
  Win32Target reader;
  SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"张三abc"));
  SendMessageW(field, EM_SETSEL, 2, 4);
  EXPECT_EQ(reader.ReadField(Id(field)), (FieldState{"张三abc", 2, 4}));
  SendMessageW(memo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"第一行\r\n第二行"));
  SendMessageW(memo, EM_SETSEL, 0, 0);
  const std::optional<FieldState> rich = reader.ReadField(Id(memo));
  ASSERT_TRUE(rich.has_value()) << "a rich edit field is read too";
  EXPECT_NE(rich->text.find("第二行"), std::string::npos);
  EXPECT_TRUE(reader.FieldIs(Id(memo), *rich));
  // A password field is never read.
  SetWindowLongPtrW(field, GWL_STYLE, GetWindowLongPtrW(field, GWL_STYLE) | ES_PASSWORD);
  EXPECT_EQ(reader.ReadField(Id(field)), std::nullopt);
  // The program stops answering: the read gives up instead of waiting on it.
  ASSERT_NE(SuspendThread(target.MainThread()), static_cast<DWORD>(-1));
  const DWORD start = GetTickCount();
  EXPECT_EQ(reader.ReadField(Id(memo)), std::nullopt);
  EXPECT_LT(GetTickCount() - start, 1000u);
  ResumeThread(target.MainThread());
}

}  // namespace
}  // namespace tovan::rt::win32
