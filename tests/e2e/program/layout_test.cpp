// Every visible control of the main window is where the layout puts it,
// with its caption, items and the selections the start-up makes.
#include <gtest/gtest.h>
#include <windows.h>

#include "driver/controls.h"
#include "driver/remote_list.h"
#include "driver/window.h"
#include "tests/e2e/program/program_fixture.h"

namespace tovan::e2e {
namespace {

using rt::UnitKind;

using LayoutTest = TovanTest;

bool HasWindow(const rt::UnitLayout& unit) {
  switch (unit.kind) {
    case UnitKind::kTransparentLabel:  // painted by the window itself
    case UnitKind::kTimer:
    case UnitKind::kDropTarget:
    case UnitKind::kBalloonTip:
    case UnitKind::kHotkeyReceiver: return false;
    default: return unit.floating || !rt::IsOffScreen(unit, shell::MainWindowLayout());
  }
}

TEST_F(LayoutTest, EveryVisibleControlStandsAtItsPlaceWithItsCaption) {
  const POINT origin = ClientOrigin(window_);
  int checked = 0;
  for (const rt::UnitLayout& unit : shell::MainWindowUnits()) {
    HWND control = Control(unit.name);
    if (!HasWindow(unit)) {
      EXPECT_EQ(control, nullptr) << unit.name << " is a state holder, not a window";
      continue;
    }
    ASSERT_NE(control, nullptr) << unit.name;
    if (unit.floating) {
      EXPECT_FALSE(IsShown(control)) << unit.name << " rests hidden";
      continue;
    }
    const RECT r = WindowRect(control);
    EXPECT_EQ(r.left - origin.x, unit.rect.x) << unit.name;
    EXPECT_EQ(r.top - origin.y, unit.rect.y) << unit.name;
    EXPECT_EQ(r.right - r.left, unit.rect.width) << unit.name;
    if (unit.kind != UnitKind::kComboList && unit.kind != UnitKind::kComboEdit) {
      EXPECT_EQ(r.bottom - r.top, unit.rect.height) << unit.name;
    }
    if (unit.kind == UnitKind::kPictureButton) {
      EXPECT_EQ(WindowText(control), unit.caption) << unit.name;
    }
    if (unit.kind == UnitKind::kComboList) {
      EXPECT_EQ(ComboItems(control), unit.items) << unit.name;
    }
    EXPECT_EQ(IsShown(control), unit.visible) << unit.name;
    ++checked;
  }
  EXPECT_EQ(checked, 46);  // the visible controls that are windows of their own
}

TEST_F(LayoutTest, TheStartUpSelectsTheInitialModes) {
  EXPECT_EQ(ComboSelection(Control("组合框66")), 0);
  EXPECT_EQ(ComboSelection(Control("组合框65")), 4);
  EXPECT_EQ(ComboSelection(Control("组合框2")), 4);
  EXPECT_EQ(ComboSelection(Control("导入方式")), 1);
  EXPECT_EQ(WindowText(Control("组合框64")), "1");
  const std::vector<ListColumn> columns = ListColumns(Control("超级列表框1"));
  EXPECT_EQ(columns, (std::vector<ListColumn>{{"序号", 53}, {"内容", 180}, {"跳格", 40}, {"暂停", 40}, {"自定义快捷键", 88}}));
  EXPECT_EQ(ListItemCount(Control("超级列表框1")), 0);
}

TEST_F(LayoutTest, TheWindowSitsNearTheLowerRightOfTheScreen) {
  const RECT r = WindowRect(window_);
  EXPECT_EQ(r.left, GetSystemMetrics(SM_CXSCREEN) - 460 - 100);
  EXPECT_EQ(r.top, GetSystemMetrics(SM_CYSCREEN) - 750);
}

}  // namespace
}  // namespace tovan::e2e
