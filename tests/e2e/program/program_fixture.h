// Starts the real program next to the test program and waits for its main
// window; closes it like a user at the end. Controls are found by the names
// of the window's layout.
#pragma once

#include <string>
#include <string_view>

#include "driver/input.h"
#include "driver/process.h"
#include "driver/program_window_test.h"
#include "driver/text.h"
#include "driver/wait_until.h"
#include "driver/window.h"
#include "runtime/win32/win32_ui.h"
#include "shell/main_window_layout.h"

namespace tovan::e2e {

inline constexpr char kTovanTitle[] = "2018Tovan复制粘贴工具V10.0";

// Index of a unit in the window's unit list (the window itself comes first).
inline std::size_t UnitIndex(std::string_view name) {
  const auto units = shell::MainWindowUnits();
  for (std::size_t i = 0; i < units.size(); ++i)
    if (units[i].name == name) return i + 1;
  ADD_FAILURE() << "no unit named " << name;
  return 0;
}

inline HWND ControlOf(HWND window, std::string_view name) {
  return FindChildById(window, rt::win32::Win32Ui::ControlIdOf(UnitIndex(name)));
}

// The settings file beside the program.
inline std::wstring SettingsPath() { return ThisExeDirectory() + L"\\" + Utf8ToWide("鼠标精灵热键配置.ini"); }

class TovanTest : public ProgramWindowTest {
 protected:
  void SetUp() override { LaunchTovan(); }

  // Starts the program and waits until its start-up has placed the window
  // (the rest of the set-up then runs before it answers any message).
  void LaunchTovan() {
    Launch(L"tovan.exe", kTovanTitle);
    ASSERT_TRUE(WaitUntil([&] { return WindowRect(window_).left == GetSystemMetrics(SM_CXSCREEN) - 460 - 100; }, 10000))
        << "the start-up did not place the window";
  }
  HWND Control(std::string_view name) const { return ControlOf(window_, name); }
  // Whether one of the program's hint balloons is showing.
  bool BalloonShown() const {
    for (HWND top = GetTopWindow(nullptr); top; top = GetNextWindow(top, GW_HWNDNEXT))
      if (ProcessIdOf(top) == program_.Id() && ClassNameOf(top) == "tooltips_class32" && IsWindowVisible(top))
        return true;
    return false;
  }

  // Clicks the table's empty area below the rows, as a user would, and lets
  // Wine finish taking the keyboard focus: when it does, it brings its key
  // states in line with the X server's, releasing a key that only SendInput
  // pressed. A Shift pressed now and released by that shows it happened.
  void ActivateWindow() {
    const RECT r = WindowRect(Control("超级列表框1"));
    ASSERT_TRUE(KeyDown(VK_SHIFT));
    ASSERT_TRUE(ClickAt({(r.left + r.right) / 2, r.bottom - 20}));
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == window_; }));
    WaitUntil([] { return GetAsyncKeyState(VK_SHIFT) >= 0; }, 1500);
    ASSERT_TRUE(KeyUp(VK_SHIFT));
  }
  // Another program's field focused, and Wine done bringing its key states
  // in line with the X server's, as it does once a window takes the focus
  // (releasing keys that only SendInput pressed): a Shift pressed before
  // and released by it shows that this has happened, so that it cannot let
  // go of a hotkey's Ctrl and Shift, or the Ctrl of the program's own
  // Ctrl+C, afterwards.
  void FocusWithKeysSettled(HWND field) {
    ASSERT_TRUE(KeyDown(VK_SHIFT));
    ASSERT_TRUE(FocusControl(field));
    WaitUntil([] { return GetAsyncKeyState(VK_SHIFT) >= 0; }, 1500);
    ASSERT_TRUE(KeyUp(VK_SHIFT));
  }
};

// The test target program beside the program: four single-line fields
// (ids 101 to 104) and a multi-line one (105).
class TargetProgram {
 public:
  void Start(const std::vector<std::wstring>& switches = {}) {
    process_ = ChildProcess::Start(ThisExeDirectory() + L"\\tovan_target.exe", switches);
    window_ = FindTopWindow("Tovan Target", 10000, process_.Id());
    ASSERT_NE(window_, nullptr);
    ASSERT_TRUE(process_.WaitForInputIdle(10000));
  }
  void Close() {
    if (!process_.Running()) return;
    PostMessageW(window_, WM_CLOSE, 0, 0);
    process_.WaitExit(5000);
  }
  HWND Window() const { return window_; }
  DWORD Id() const { return process_.Id(); }
  HWND Field(int id) const { return FindChildById(window_, id); }

 private:
  ChildProcess process_;
  HWND window_ = nullptr;
};

// The program with the test target program beside it.
class TovanWithTargetTest : public TovanTest {
 protected:
  void SetUp() override {
    TovanTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_NO_FATAL_FAILURE(target_.Start());
  }
  void TearDown() override {
    target_.Close();
    TovanTest::TearDown();
  }
  HWND Field(int id) const { return target_.Field(id); }

  TargetProgram target_;
};

// The edit field of a notepad (or, by its class, of a wordpad) just
// started, once it shows; nullptr if it does not.
inline HWND NotepadEdit(const ChildProcess& notepad, std::wstring_view field_class = L"Edit") {
  HWND edit = nullptr;
  WaitUntil([&] {
    for (HWND top = GetTopWindow(nullptr); top && !edit; top = GetNextWindow(top, GW_HWNDNEXT))
      if (ProcessIdOf(top) == notepad.Id() && IsWindowVisible(top)) edit = FindChildByClass(top, field_class);
    return edit != nullptr;
  }, 10000);
  return edit;
}

}  // namespace tovan::e2e
