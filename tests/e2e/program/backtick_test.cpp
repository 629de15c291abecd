// The backtick key and the mouse, driven like a user: a drag-selection in
// another program copies, the backtick or a middle click pastes, a press
// over text selected in notepad adds a row, and the pin items pin the
// window in the foreground.
#include <gtest/gtest.h>
#include <windows.h>

#include "driver/clipboard.h"
#include "driver/controls.h"
#include "driver/input.h"
#include "driver/process.h"
#include "driver/remote_list.h"
#include "driver/wait_until.h"
#include "driver/window.h"
#include "tests/e2e/program/program_fixture.h"

namespace tovan::e2e {
namespace {

constexpr WORD kBacktick = VK_OEM_3;

class BacktickTest : public TovanWithTargetTest {
 protected:
  bool Topmost(HWND window) const { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }
};

TEST_F(BacktickTest, ADragInAnotherProgramCopiesAndTheBacktickOrAMiddleClickPastesIt) {
  ASSERT_TRUE(ClickButton(Control("按钮66")));
  ASSERT_TRUE(WaitUntil([&] { return WindowText(Control("按钮66")) == "关闭复制"; }));
  ASSERT_TRUE(SetWindowTextTo(Field(101), "拖选的文字"));
  // Once lost in a clean-clone run: Wine's key-state hand-over for a
  // target just started let go of the Ctrl of the program's Ctrl+C.
  ASSERT_NO_FATAL_FAILURE(FocusWithKeysSettled(Field(101)));
  const RECT r = WindowRect(Field(101));
  const LONG middle = (r.top + r.bottom) / 2;
  const DWORD before = GetClipboardSequenceNumber();
  ASSERT_TRUE(DragMouse({r.left + 2, middle}, {r.right - 4, middle}));
  const std::optional<std::string> copied = ClipboardTextAfter(before);
  ASSERT_EQ(copied, "拖选的文字") << copied.value_or("(none)") << ", field: " << WindowText(Field(101)).value_or("?");
  // The backtick pastes into the field with the focus.
  ASSERT_TRUE(FocusControl(Field(102)));
  ASSERT_TRUE(PressKey(kBacktick));
  EXPECT_TRUE(WaitUntil([&] { return WindowText(Field(102)) == "拖选的文字"; })) << *WindowText(Field(102));
  // So does a middle click, wherever it is made.
  ASSERT_TRUE(FocusControl(Field(103)));
  const RECT window = WindowRect(target_.Window());
  ASSERT_TRUE(MiddleClickAt({window.left + 20, window.bottom - 20}));
  EXPECT_TRUE(WaitUntil([&] { return WindowText(Field(103)) == "拖选的文字"; })) << *WindowText(Field(103));
  // A click without a drag copies nothing.
  ASSERT_TRUE(SetClipboardText("留着"));
  ASSERT_TRUE(ClickControl(Field(104)));
  Sleep(300);
  EXPECT_EQ(ClipboardText(), "留着");
}

TEST_F(BacktickTest, TextSelectedInNotepadBecomesARowOnABacktickPress) {
  ASSERT_TRUE(SelectComboItem(Control("导入方式"), std::string_view("单次录入")));
  const int rows = ListItemCount(Control("超级列表框1"));
  ChildProcess notepad = ChildProcess::Start(L"C:\\windows\\system32\\notepad.exe");
  HWND edit = NotepadEdit(notepad);
  ASSERT_NE(edit, nullptr);
  ASSERT_TRUE(SetWindowTextTo(edit, "记事本里选中的一行"));
  SendMessageW(edit, EM_SETSEL, 0, -1);
  ASSERT_NO_FATAL_FAILURE(FocusWithKeysSettled(edit));
  ASSERT_TRUE(PressKey(kBacktick));
  HWND table = Control("超级列表框1");
  EXPECT_TRUE(WaitUntil([&] { return ListItemCount(table) == rows + 1; }));
  EXPECT_EQ(ListCellText(table, rows, 1), "记事本里选中的一行");
  EXPECT_EQ(WindowText(edit), "记事本里选中的一行") << "the key itself reached notepad";
  notepad.Terminate();
}

TEST_F(BacktickTest, ThePinItemsPinAndReleaseTheWindowWithTheFocusNotTheOneUnderTheMouse) {
  ASSERT_TRUE(SelectComboItem(Control("导入方式"), std::string_view("设置程序界面置顶")));
  ASSERT_TRUE(FocusControl(Field(101)));
  ASSERT_TRUE(MoveMouseTo(CenterOf(window_)));
  ASSERT_TRUE(PressKey(kBacktick));
  EXPECT_TRUE(WaitUntil([&] { return Topmost(target_.Window()); }));
  EXPECT_FALSE(Topmost(window_));
  ASSERT_TRUE(SelectComboItem(Control("导入方式"), std::string_view("取消程序界面置顶")));
  ASSERT_TRUE(FocusControl(Field(101)));
  ASSERT_TRUE(PressKey(kBacktick));
  EXPECT_TRUE(WaitUntil([&] { return !Topmost(target_.Window()); }));
}

}  // namespace
}  // namespace tovan::e2e
