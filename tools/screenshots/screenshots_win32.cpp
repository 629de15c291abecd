// Makes the manual's pictures with the real program, driven as a user
// drives it, beside a small program of input fields (four single-line
// fields and a multi-line one): each scene is saved as a picture of the
// whole screen (NAME.bmp) and a line "NAME X Y WIDTH HEIGHT" in crops.txt
// saying what part of it the picture shows. tools/screenshots.sh runs it
// under Wine in a folder of its own and turns the pictures into PNG files.
//
// Usage: tovan_screenshots.exe OUTPUT_FOLDER   (exit code 0 when every scene was made)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "driver/controls.h"
#include "driver/drop.h"
#include "driver/input.h"
#include "driver/process.h"
#include "driver/remote_list.h"
#include "driver/screenshot.h"
#include "driver/text.h"
#include "driver/wait_until.h"
#include "driver/window.h"
#include "tests/e2e/program/program_fixture.h"

namespace {

using namespace tovan::e2e;

std::filesystem::path Beside(const char* utf8_name) {
  return std::filesystem::path(ThisExeDirectory() + L"\\" + Utf8ToWide(utf8_name));
}

std::string Gbk(const std::string& utf8) {
  const std::wstring wide = Utf8ToWide(utf8);
  const int n = WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

struct Row {
  const char* content;
  const char* pause;
};

// Slot A: one person's details a row each, one Tab (or Enter) after every
// row, a pause after the fourth, and the hotkey Ctrl+Shift+F2 on the first
// row, so that opening the slot loads it.
constexpr Row kRows[] = {{"张三", ""},          {"13800138000", ""}, {"北京市朝阳区建国路88号", ""},
                         {"销售部", "暂停"},    {"李四", ""},        {"13912345678", ""},
                         {"上海市浦东新区世纪大道100号", ""}, {"财务部", "暂停"}};

void WriteSlotA() {
  std::ofstream rows(Beside("保存A.txt"), std::ios::binary);
  std::ofstream extras(Beside("跳快数据A.txt"), std::ios::binary);
  const std::string star = Gbk("★");
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    rows << Gbk(kRows[i].content) << star;
    extras << "1" << star << Gbk(kRows[i].pause) << star << (i == 0 ? "Ctrl+Shift+F2" : "") << "\r\n";
  }
}

class Scenes {
 public:
  explicit Scenes(std::wstring output) : output_(std::move(output)) {}

  bool Run() {
    std::filesystem::create_directories(output_);
    crops_.open(std::filesystem::path(output_) / "crops.txt", std::ios::binary);
    for (const char* name : {"保存A.txt", "跳快数据A.txt", "选择框.txt", "鼠标精灵热键配置.ini"})
      std::filesystem::remove(Beside(name));
    return Import() && Tool() && Paste("paste-horizontal", "自动横向粘贴", 101) &&
           Paste("paste-vertical", "自动纵向粘贴", 105) && Checked();
  }

 private:
  // The table after a file of Tab-separated cells was dropped on it in the
  // mode that cuts at Tabs and line ends.
  bool Import() {
    if (!Start()) return false;
    std::ofstream(Beside("客户名单.txt"), std::ios::binary)
        << Gbk("张三\t13800138000\t北京市朝阳区建国路88号\r\n李四\t13912345678\t上海市浦东新区世纪大道100号\r\n");
    if (!SelectComboItem(Control("导入方式"), std::string_view("Excel制表符录入"))) return Fail("import mode");
    const RECT table = WindowRect(Control("超级列表框1"));
    if (!DropFiles({(table.left + table.right) / 2, (table.top + table.bottom) / 2},
                   {ThisExeDirectory() + L"\\" + Utf8ToWide("客户名单.txt")}))
      return Fail("drop");
    if (!WaitUntil([&] { return ListItemCount(Control("超级列表框1")) == 6; })) return Fail("imported rows");
    Settle();
    const bool saved = Save("import", WindowRect(window_));
    Stop();
    std::filesystem::remove(Beside("客户名单.txt"));
    return saved;
  }

  // The window with slot A open and its hotkey loaded; and the recorder's
  // part of it (below the slot buttons).
  bool Tool() {
    WriteSlotA();
    if (!Start() || !OpenSlotA()) return false;
    const RECT whole = WindowRect(window_);
    RECT recorder = whole;
    recorder.top = WindowRect(Control("打开A")).bottom + 4;
    const bool saved = Save("main-window", whole) && Save("recorder", recorder);
    Stop();
    return saved;
  }

  // The program in front beside the tool after one press of the hotkey in
  // an automatic mode: the rows up to the pause row went in.
  bool Paste(const char* name, const char* mode, int field) {
    if (!Start() || !OpenSlotA() || !StartTarget()) return false;
    if (!SelectComboItem(Control("组合框66"), std::string_view(mode))) return Fail(mode);
    if (!PressHotkeyIn(Field(field))) return Fail("hotkey");
    const bool arrived = field == 105 ? WaitUntil([&] { return Text(105) == "张三\r\n13800138000\r\n北京市朝阳区建国路88号\r\n销售部\r\n"; }, 10000)
                                      : WaitUntil([&] { return Text(104) == "销售部"; }, 10000);
    if (!arrived) return Fail("rows in the fields");
    Settle();
    const bool saved = Save(name, WithHints(Union(WindowRect(target_window_), WindowRect(window_))));
    Stop();
    return saved;
  }

  // Rows 1 and 3 checked: one press pastes both, one per line.
  bool Checked() {
    if (!Start() || !OpenSlotA() || !StartTarget()) return false;
    HWND table = Control("超级列表框1");
    if (!ClickListCheckBox(table, 0) || !ClickListCheckBox(table, 2)) return Fail("checks");
    if (!SelectComboItem(Control("组合框66"), std::string_view("勾选项全部粘贴"))) return Fail("checked mode");
    if (!LoadedHotkey()) return Fail("hotkey after the mode");
    if (!PressHotkeyIn(Field(105))) return Fail("hotkey");
    if (!WaitUntil([&] { return Text(105) == "张三\r\n北京市朝阳区建国路88号\r\n"; }, 10000)) return Fail("checked rows");
    Settle();
    const bool saved = Save("paste-checked", WithHints(Union(WindowRect(target_window_), WindowRect(window_))));
    Stop();
    return saved;
  }

  bool Start() {
    program_ = ChildProcess::Start(ThisExeDirectory() + L"\\tovan.exe");
    window_ = FindTopWindow(kTovanTitle, 10000, program_.Id());
    if (!window_ || !program_.WaitForInputIdle(10000)) return Fail("start");
    if (!WaitUntil([&] { return WindowRect(window_).left == GetSystemMetrics(SM_CXSCREEN) - 460 - 100; }, 10000))
      return Fail("placement");
    return true;
  }

  bool OpenSlotA() {
    if (!ClickButton(Control("打开A"))) return Fail("open A");
    if (!WaitUntil([&] { return ListItemCount(Control("超级列表框1")) == static_cast<int>(std::size(kRows)); }))
      return Fail("rows of slot A");
    return LoadedHotkey() || Fail("hotkey of slot A");
  }

  // The first row's hotkey registered (probed once the program has had time
  // to register it: probing earlier could make the registration fail).
  bool LoadedHotkey() {
    if (!WaitUntil([&] { return WindowText(Control("加载热键")) == "卸载热键"; })) return false;
    Sleep(500);
    return WaitUntil([] {
      if (!RegisterHotKey(nullptr, 0xBFFE, MOD_CONTROL | MOD_SHIFT, VK_F2)) return true;
      UnregisterHotKey(nullptr, 0xBFFE);
      return false;
    }, 5000, 200);
  }

  // The field program, to the left of the tool, top edges level.
  bool StartTarget() {
    target_ = ChildProcess::Start(ThisExeDirectory() + L"\\tovan_target.exe");
    target_window_ = FindTopWindow("Tovan Target", 10000, target_.Id());
    if (!target_window_ || !target_.WaitForInputIdle(10000)) return Fail("field program");
    const RECT tool = WindowRect(window_);
    const RECT own = WindowRect(target_window_);
    SetWindowPos(target_window_, nullptr, tool.left - (own.right - own.left) - 16, tool.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    return WaitUntil([&] { return WindowRect(target_window_).top == tool.top; }) || Fail("field program placement");
  }

  // The field focused and Wine done with its key states (see the paste
  // tests), then the hotkey pressed as a person does.
  bool PressHotkeyIn(HWND field) {
    if (!KeyDown(VK_SHIFT) || !FocusControl(field)) return false;
    WaitUntil([] { return GetAsyncKeyState(VK_SHIFT) >= 0; }, 1500);
    return KeyUp(VK_SHIFT) && PressChord({VK_CONTROL, VK_SHIFT}, VK_F2);
  }

  void Stop() {
    if (target_.Running()) {
      PostMessageW(target_window_, WM_CLOSE, 0, 0);
      target_.WaitExit(5000);
    }
    if (program_.Running()) {
      PostMessageW(window_, WM_CLOSE, 0, 0);
      program_.WaitExit(5000);
    }
    std::filesystem::remove(Beside("鼠标精灵热键配置.ini"));
    std::filesystem::remove(Beside("选择框.txt"));
  }

  // The mouse out of the way (a control under it shows its hint), and the
  // windows done painting, before the picture.
  static void Settle() {
    MoveMouseTo({4, GetSystemMetrics(SM_CYSCREEN) - 4});
    Sleep(1500);
  }

  // The area grown to take in the program's hint balloons showing now:
  // the picture shows what the user sees.
  RECT WithHints(RECT area) const {
    for (HWND top = GetTopWindow(nullptr); top; top = GetNextWindow(top, GW_HWNDNEXT))
      if (ProcessIdOf(top) == program_.Id() && ClassNameOf(top) == "tooltips_class32" && IsWindowVisible(top))
        area = Union(area, WindowRect(top), 2);
    return area;
  }

  bool Save(const char* name, RECT area) {
    const std::wstring picture = output_ + L"\\" + Utf8ToWide(name) + L".bmp";
    if (!SaveScreenshot(picture)) return Fail("screenshot");
    crops_ << name << ' ' << area.left << ' ' << area.top << ' ' << area.right - area.left << ' '
           << area.bottom - area.top << "\n";
    crops_.flush();
    std::printf("screenshots: %s\n", name);
    return true;
  }

  static RECT Union(RECT a, RECT b, int margin = 8) {
    return {std::min(a.left, b.left) - margin, std::min(a.top, b.top) - margin, std::max(a.right, b.right) + margin,
            std::max(a.bottom, b.bottom) + margin};
  }

  HWND Control(const char* name) const { return ControlOf(window_, name); }
  HWND Field(int id) const { return FindChildById(target_window_, id); }
  std::string Text(int id) const { return WindowText(Field(id)).value_or(""); }

  bool Fail(const char* what) {
    std::printf("screenshots: failed at: %s\n", what);
    Stop();
    return false;
  }

  std::wstring output_;
  std::ofstream crops_;
  ChildProcess program_;
  ChildProcess target_;
  HWND window_ = nullptr;
  HWND target_window_ = nullptr;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::printf("usage: tovan_screenshots.exe OUTPUT_FOLDER\n");
    return 2;
  }
  return Scenes(argv[1]).Run() ? 0 : 1;
}
