// The clipboard service and the key chord of the Win32 runtime fill a field
// of another program, as the paste engine will.
#include <gtest/gtest.h>
#include <windows.h>

#include "driver/input.h"
#include "driver/program_window_test.h"
#include "driver/wait_until.h"
#include "driver/window.h"
#include "runtime/win32/win32_platform.h"

namespace tovan::e2e {
namespace {

class ClipboardPasteTest : public ProgramWindowTest {
 protected:
  void SetUp() override {
    rt::win32::PrepareProcess();
    // The clipboard needs an owner window: a small one of our own.
    platform_.ui.Build(rt::WindowLayout{.title = "clipboard owner", .width = 120, .height = 80}, {});
    Launch(L"tovan_target.exe", "Tovan Target");
  }
  rt::win32::Win32Platform platform_{GetModuleHandleW(nullptr)};
};

TEST_F(ClipboardPasteTest, ChineseTextPastedWithCtrlVArrivesInTheFocusedField) {
  HWND field = Child(102);
  ASSERT_NE(field, nullptr);
  ASSERT_TRUE(FocusControl(field));
  ASSERT_TRUE(platform_.clipboard.SetText("张三 Zhang\t李四"));
  platform_.keys.Chord({VK_CONTROL, 'V'});
  EXPECT_TRUE(WaitUntil([&] { return WindowText(field) == "张三 Zhang\t李四"; })) << *WindowText(field);
  EXPECT_EQ(platform_.clipboard.Text(), "张三 Zhang\t李四");
}

TEST_F(ClipboardPasteTest, TypedTextAndTabMoveThroughTheFields) {
  ASSERT_TRUE(FocusControl(Child(101)));
  platform_.keys.Type("王五");
  platform_.keys.Chord({VK_TAB});
  platform_.keys.Type("abc");
  EXPECT_TRUE(WaitUntil([&] { return WindowText(Child(101)) == "王五" && WindowText(Child(102)) == "abc"; }));
}

}  // namespace
}  // namespace tovan::e2e
