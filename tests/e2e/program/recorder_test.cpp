// The recorder driven like a user: hotkeys typed into the recorder boxes,
// the recorder switched on, keys and a click recorded into another program,
// and the recording replayed there with the simulate hotkey.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "driver/controls.h"
#include "driver/input.h"
#include "driver/process.h"
#include "driver/remote_list.h"
#include "driver/wait_until.h"
#include "driver/window.h"
#include "tests/e2e/program/program_fixture.h"

namespace tovan::e2e {
namespace {

class RecorderTest : public TovanTest {
 protected:
  void SetUp() override {
    std::filesystem::remove(std::filesystem::path(ThisExeDirectory() + L"\\" + Utf8ToWide("数据1.txt")));
    TovanTest::SetUp();
    if (HasFatalFailure()) return;
    target_ = ChildProcess::Start(ThisExeDirectory() + L"\\tovan_target.exe");
    target_window_ = FindTopWindow("Tovan Target", 10000, target_.Id());
    ASSERT_NE(target_window_, nullptr);
    ASSERT_TRUE(target_.WaitForInputIdle(10000));
  }
  void TearDown() override {
    if (target_.Running()) {
      PostMessageW(target_window_, WM_CLOSE, 0, 0);
      target_.WaitExit(5000);
    }
    TovanTest::TearDown();
  }
  HWND Field(int id) const { return FindChildById(target_window_, id); }
  // Clicks a recorder box and presses a key into it, as a user sets a hotkey.
  void SetHotkey(const char* box, WORD key, const char* text) {
    HWND edit = Control(box);
    // At its left end: the previous box's hint balloon lies over the rest
    // for a few seconds, and Wine's balloons do not let clicks through.
    const RECT r = WindowRect(edit);
    ASSERT_TRUE(ClickAt({r.left + 3, (r.top + r.bottom) / 2}));
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(edit) == edit; }));
    ASSERT_TRUE(PressKey(key));
    ASSERT_TRUE(WaitUntil([&] { return WindowText(edit) == text; })) << *WindowText(edit);
  }

  ChildProcess target_;
  HWND target_window_ = nullptr;
};

TEST_F(RecorderTest, KeysAndAClickRecordedInAnotherProgramReplayThereWithTheSimulateHotkey) {
  SetHotkey("记录", VK_F7, "F7");
  SetHotkey("模拟", VK_F8, "F8");
  SetHotkey("停止", VK_F9, "F9");
  ASSERT_TRUE(ClickControl(Control("选择框94")));  // recording slot 1
  ASSERT_TRUE(WaitUntil([&] { return SendWithTimeout(Control("选择框94"), BM_GETCHECK, 0, 0) == BST_CHECKED; }));
  ASSERT_TRUE(ClickButton(Control("按钮5")));
  ASSERT_TRUE(WaitUntil([&] { return WindowText(Control("按钮5")) == "关闭按键精灵"; }));
  Sleep(400);

  // Recorded: a, b into the first field, a click into the second, c there.
  ASSERT_TRUE(FocusControl(Field(101)));
  ASSERT_TRUE(PressKey(VK_F7));
  Sleep(800);  // the start waits and the start sound
  for (WORD key : {WORD('A'), WORD('B')}) {
    ASSERT_TRUE(PressKey(key));
    Sleep(60);
  }
  ASSERT_TRUE(ClickControl(Field(102)));
  Sleep(60);
  ASSERT_TRUE(PressKey('C'));
  Sleep(200);
  ASSERT_TRUE(PressKey(VK_F7));
  HWND events = Control("超级列表框2");
  ASSERT_TRUE(WaitUntil([&] { return ListItemCount(events) == 8; })) << ListItemCount(events);
  EXPECT_EQ(ListCellText(events, 0, 0), "按键");
  EXPECT_EQ(ListCellText(events, 0, 1), "A");
  EXPECT_EQ(ListCellText(events, 0, 2), "按下");
  EXPECT_EQ(ListCellText(events, 4, 1), "左键按下");
  EXPECT_EQ(ListCellText(events, 7, 1), "C");
  EXPECT_EQ(ListCellText(events, 7, 2), "放开");
  ASSERT_EQ(WindowText(Field(101)), "ab");
  ASSERT_EQ(WindowText(Field(102)), "c");

  // Replayed into emptied fields.
  ASSERT_TRUE(SetWindowTextTo(Field(101), ""));
  ASSERT_TRUE(SetWindowTextTo(Field(102), ""));
  ASSERT_TRUE(FocusControl(Field(101)));
  ASSERT_TRUE(PressKey(VK_F8));
  EXPECT_TRUE(WaitUntil([&] { return WindowText(Field(101)) == "ab" && WindowText(Field(102)) == "c"; }, 10000))
      << *WindowText(Field(101)) << "|" << *WindowText(Field(102));
  // What the replay injected was not recorded.
  EXPECT_EQ(ListItemCount(events), 8);
}

}  // namespace
}  // namespace tovan::e2e
