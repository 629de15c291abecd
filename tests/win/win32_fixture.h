// A real Win32 platform with a small window of every control kind, shown
// and in the foreground, for the backend tests.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>

#include "runtime/win32/win32_platform.h"

namespace tovan::rt::win32 {

class Win32Test : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { PrepareProcess(); }

  void SetUp() override {
    platform = std::make_unique<Win32Platform>(GetModuleHandleW(nullptr));
    platform->ui.Build(
        WindowLayout{.title = "Tovan 测试窗口", .width = 460, .height = 400, .visible_width = 460},
        {
            UnitLayout{.name = "编辑框", .kind = UnitKind::kEdit, .rect = {10, 10, 200, 22}},
            UnitLayout{.name = "多行", .kind = UnitKind::kMultiLineEdit, .rect = {10, 40, 200, 60}},
            UnitLayout{.name = "按钮", .kind = UnitKind::kPictureButton, .caption = "万条复制", .rect = {220, 10, 80, 24},
                     .back_colour = Colour{121, 209, 200}},
            UnitLayout{.name = "组合框", .kind = UnitKind::kComboList, .rect = {220, 40, 100, 20},
                     .items = {"10", "20", "50"}, .selection = 1},
            UnitLayout{.name = "可编辑", .kind = UnitKind::kComboEdit, .caption = "1", .rect = {330, 40, 60, 20},
                     .items = {"1", "2"}},
            UnitLayout{.name = "选择框", .kind = UnitKind::kCheckBox, .caption = "选择", .rect = {220, 70, 80, 20}},
            UnitLayout{.name = "标签", .kind = UnitKind::kTransparentLabel, .caption = "时间：", .rect = {320, 70, 60, 16}},
            UnitLayout{.name = "列表", .kind = UnitKind::kSuperList, .rect = {10, 110, 422, 200},
                     .columns = {{"序号", 53}, {"内容", 180}, {"跳格", 40}}},
            UnitLayout{.name = "藏", .kind = UnitKind::kEdit, .caption = "0", .rect = {500, 0, 10, 10}},
            UnitLayout{.name = "时钟", .kind = UnitKind::kTimer},
            UnitLayout{.name = "标签1", .kind = UnitKind::kHotkeyReceiver, .rect = {500, 20, 10, 10}},
            UnitLayout{.name = "拖放对象1", .kind = UnitKind::kDropTarget, .rect = {500, 40, 10, 10}},
        });
    platform->ui.Show();
    window = platform->ui.MainWindow();
    SetForegroundWindow(window);
    platform->ui.PumpEvents();
  }

  void TearDown() override {
    platform->ui.Destroy();
    platform->ui.PumpEvents();
    platform.reset();
  }

  // Clicks the window's empty background, as a user would, so that it owns
  // the keyboard (on a display without a window manager only a click does).
  void Activate() {
    ClickWindow(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    PumpUntil([&] { return GetForegroundWindow() == window && GetActiveWindow() == window; }, 2000);
  }

  // An empty spot of the window, near its bottom right.
  POINT EmptySpot() const {
    RECT r{};
    GetWindowRect(window, &r);
    return {r.left + (r.right - r.left) * 3 / 4, r.bottom - 20};
  }
  // A button pressed and released there (down and up flags of SendInput).
  void ClickWindow(DWORD down, DWORD up) const {
    const POINT at = EmptySpot();
    INPUT click[3] = {};
    for (INPUT& input : click) {
      input.type = INPUT_MOUSE;
      input.mi.dx = at.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
      input.mi.dy = at.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
      input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    }
    click[1].mi.dwFlags |= down;
    click[2].mi.dwFlags |= up;
    SendInput(3, click, sizeof(INPUT));
  }

  HWND Control(const char* name) const { return reinterpret_cast<HWND>(platform->ui[name].Handle()); }

  // Runs the window's events until the condition holds or the deadline passes.
  bool PumpUntil(const std::function<bool()>& done, int deadline_ms = 3000) {
    const std::int64_t end = platform->clock.NowMicros() + std::int64_t{deadline_ms} * 1000;
    while (!done()) {
      if (platform->clock.NowMicros() > end) return false;
      platform->clock.Wait(5);
    }
    return true;
  }

  std::unique_ptr<Win32Platform> platform;
  HWND window = nullptr;
};

}  // namespace tovan::rt::win32
