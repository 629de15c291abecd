// The recorder driven like a user: hotkeys typed into the recorder boxes,
// the recorder switched on, a click and keys recorded into another program,
// the recording saved into slot 2 and replayed there three times, a slow
// replay stopped early, and the recording back after a restart.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "driver/controls.h"
#include "driver/input.h"
#include "driver/process.h"
#include "driver/remote_list.h"
#include "driver/text.h"
#include "driver/wait_until.h"
#include "driver/window.h"
#include "tests/e2e/program/program_fixture.h"

namespace tovan::e2e {
namespace {

std::filesystem::path SlotFile() { return std::filesystem::path(ThisExeDirectory() + L"\\" + Utf8ToWide("数据2.txt")); }

class RecorderTest : public TovanWithTargetTest {
 protected:
  void SetUp() override {
    std::filesystem::remove(SlotFile());
    TovanWithTargetTest::SetUp();
  }
  void TearDown() override {
    TovanWithTargetTest::TearDown();
    std::filesystem::remove(SlotFile());
  }
  // Clicks a recorder box and presses a key into it, as a user sets a hotkey.
  void SetHotkey(const char* box, WORD key, const char* text) {
    HWND edit = Control(box);
    // At its left end: the previous box's hint balloon lies over the rest
    // for a few seconds, and Wine's balloons do not let clicks through.
    // Wine now and then loses a click that activates another program's
    // window: a user would click again, and so does this.
    const RECT r = WindowRect(edit);
    bool focused = false;
    for (int click = 0; click < 2 && !focused; ++click) {
      ASSERT_TRUE(ClickAt({r.left + 3, (r.top + r.bottom) / 2}));
      focused = WaitUntil([&] { return FocusOf(edit) == edit; }, 2500);
    }
    ASSERT_TRUE(focused);
    ASSERT_TRUE(PressKey(key));
    ASSERT_TRUE(WaitUntil([&] { return WindowText(edit) == text; })) << *WindowText(edit);
  }
  void TickSlot2() {
    HWND slot = Control("选择框95");
    ASSERT_TRUE(ClickControl(slot));
    ASSERT_TRUE(WaitUntil([&] { return SendWithTimeout(slot, BM_GETCHECK, 0, 0) == BST_CHECKED; }));
  }
  void ClearFields() {
    ASSERT_TRUE(SetWindowTextTo(Field(101), ""));
    ASSERT_TRUE(SetWindowTextTo(Field(102), ""));
  }
  // The event list as "key name, key, action, time" rows, for a failure's
  // message: a recording now and then holds one event more or less.
  std::string RecordedEvents() {
    HWND list = Control("超级列表框2");
    std::string events;
    for (int row = 0; row < ListItemCount(list); ++row) {
      for (int column = 1; column <= 4; ++column) events += ListCellText(list, row, column).value_or("?") + ",";
      events += " | ";
    }
    return events;
  }
  // Recorder on; a click into the first field, a, b, Tab, c recorded and
  // saved into slot 2.
  void RecordIntoTarget() {
    SetHotkey("记录", VK_F7, "F7");
    SetHotkey("模拟", VK_F8, "F8");
    SetHotkey("停止", VK_F9, "F9");
    TickSlot2();
    ASSERT_TRUE(ClickButton(Control("按钮5")));
    ASSERT_TRUE(WaitUntil([&] { return WindowText(Control("按钮5")) == "关闭按键精灵"; }));
    Sleep(400);
    ASSERT_TRUE(FocusControl(Field(102)));
    ASSERT_TRUE(PressKey(VK_F7));
    Sleep(800);  // the start waits and the start sound
    ASSERT_TRUE(ClickControl(Field(101)));
    Sleep(60);
    for (WORD key : {WORD('A'), WORD('B'), WORD(VK_TAB), WORD('C')}) {
      ASSERT_TRUE(PressKey(key));
      Sleep(60);
    }
    Sleep(200);
    ASSERT_TRUE(PressKey(VK_F7));
    ASSERT_TRUE(WaitUntil([&] { return ListItemCount(Control("超级列表框2")) == 10; }))
        << "record hotkey box \"" << WindowText(Control("记录")).value_or("?") << "\", events: " << RecordedEvents();
    ASSERT_EQ(WindowText(Field(101)), "ab");
    ASSERT_EQ(WindowText(Field(102)), "c");
    ASSERT_TRUE(ClickButton(Control("按钮59")));
    ASSERT_TRUE(WaitUntil([] { return std::filesystem::exists(SlotFile()); }));
  }
  // The recording replayed three times into cleared fields, every press
  // now waiting two seconds (20 s in all), started with the simulate hotkey.
  void StartSlowReplay() {
    ClearFields();
    ASSERT_TRUE(SelectComboItem(Control("组合框65"), std::string_view("2000")));
    ASSERT_TRUE(SelectComboItem(Control("组合框64"), std::string_view("3")));
    ASSERT_TRUE(FocusControl(Field(102)));
    ASSERT_TRUE(PressKey(VK_F8));
  }
};

TEST_F(RecorderTest, ARecordingSavedInSlotTwoReplaysThreeTimesAndComesBackAfterARestart) {
  RecordIntoTarget();
  if (HasFatalFailure()) return;
  // The file: each row's eight cells each closed by "←→", then CR LF.
  std::ifstream in(SlotFile(), std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const POINT click = CenterOf(Field(101));
  const std::string arrows = "\xA1\xFB\xA1\xFA";
  auto row = [&](std::initializer_list<std::string> cells) {
    std::string line;
    for (const std::string& cell : cells) line += cell + arrows;
    return line + "\r\n";
  };
  const std::string mouse = "\xCA\xF3\xB1\xEA", key = "\xB0\xB4\xBC\xFC", down = "\xB0\xB4\xCF\xC2", up = "\xB7\xC5\xBF\xAA";
  EXPECT_EQ(bytes.substr(0, bytes.find("\r\n") + 2),
            row({mouse, "\xD7\xF3\xBC\xFC\xB0\xB4\xCF\xC2", "", std::to_string(click.x), std::to_string(click.y), "513",
                 "", "30"}));
  EXPECT_NE(bytes.find(row({key, "A", down, "65", "3", "", "", "30"})), std::string::npos);
  EXPECT_NE(bytes.find(row({key, "Tab", up, "9", "4", "", "", "30"})), std::string::npos);
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 10);

  // Three passes into cleared fields: the click puts the caret after the
  // text, and Tab selects the second field's text before c replaces it.
  // Presses wait 100 ms, so that one pass's click and the next are no
  // double click.
  ClearFields();
  ASSERT_TRUE(SelectComboItem(Control("组合框65"), std::string_view("100")));
  ASSERT_TRUE(SelectComboItem(Control("组合框64"), std::string_view("3")));
  ASSERT_TRUE(FocusControl(Field(102)));
  ASSERT_TRUE(PressKey(VK_F8));
  EXPECT_TRUE(WaitUntil([&] { return WindowText(Field(101)) == "ababab"; }, 15000)) << *WindowText(Field(101));
  EXPECT_EQ(WindowText(Field(102)), "c");
  EXPECT_EQ(ListItemCount(Control("超级列表框2")), 10) << "the replay left the recording as it was";

  // After a restart, ticking slot 2 brings the recording back.
  PostMessageW(window_, WM_CLOSE, 0, 0);
  ASSERT_EQ(program_.WaitExit(10000), 0u);
  LaunchTovan();
  TickSlot2();
  EXPECT_TRUE(WaitUntil([&] { return ListItemCount(Control("超级列表框2")) == 10; }));
  EXPECT_EQ(ListCellText(Control("超级列表框2"), 2, 1), "A");
}

TEST_F(RecorderTest, TheStopHotkeyEndsASlowReplayAfterTheRowItIsIn) {
  RecordIntoTarget();
  if (HasFatalFailure()) return;
  StartSlowReplay();
  Sleep(1000);
  ASSERT_TRUE(PressKey(VK_F9));
  // The first row, the click into the first field, still comes; nothing after it.
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(Field(101)) == Field(101); }, 5000));
  Sleep(3000);
  EXPECT_EQ(WindowText(Field(101)), "");
  EXPECT_EQ(WindowText(Field(102)), "");
}

TEST_F(RecorderTest, ClosingTheWindowDuringASlowReplaySendsNothingMore) {
  RecordIntoTarget();
  if (HasFatalFailure()) return;
  StartSlowReplay();
  // The first row, the click into the first field, comes; then the window closes.
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(Field(101)) == Field(101); }, 5000));
  PostMessageW(window_, WM_CLOSE, 0, 0);
  EXPECT_EQ(program_.WaitExit(5000), 0u) << "the program did not end after its window closed";
  Sleep(4500);  // two more rows' delays
  EXPECT_EQ(WindowText(Field(101)), "");
  EXPECT_EQ(WindowText(Field(102)), "");
}

}  // namespace
}  // namespace tovan::e2e
