// The tool's main job, driven like a user: rows from a slot whose first row
// carries a hotkey (opening it loads the hotkeys), then the hotkey pressed
// (modifiers held and let go as a person does) while another program has
// the focus.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "driver/controls.h"
#include "driver/drop.h"
#include "driver/input.h"
#include "driver/paste_timing.h"
#include "driver/process.h"
#include "driver/remote_list.h"
#include "driver/wait_until.h"
#include "driver/window.h"
#include "tests/e2e/program/program_fixture.h"

namespace tovan::e2e {
namespace {

std::filesystem::path Beside(const char* utf8_name) {
  return std::filesystem::path(ThisExeDirectory() + L"\\" + Utf8ToWide(utf8_name));
}

// Slot A: 张三, 李四, 王五, 赵六 (GBK), each with one Tab; row 2 may pause;
// row 1 carries the hotkey Ctrl+Shift+F2, so opening the slot loads it.
void WriteSlotA(bool pause_on_second) {
  std::ofstream(Beside("保存A.txt"), std::ios::binary)
      << "\xD5\xC5\xC8\xFD\xA1\xEF\xC0\xEE\xCB\xC4\xA1\xEF\xCD\xF5\xCE\xE5\xA1\xEF\xD5\xD4\xC1\xF9\xA1\xEF";
  std::ofstream(Beside("跳快数据A.txt"), std::ios::binary)
      << "1\xA1\xEF\xA1\xEF" "Ctrl+Shift+F2\r\n1\xA1\xEF" << (pause_on_second ? "\xD4\xDD\xCD\xA3" : "")
      << "\xA1\xEF\r\n1\xA1\xEF\xA1\xEF\r\n1\xA1\xEF\xA1\xEF\r\n";
}

// "行01" … "行nn" (GBK in the slot file, UTF-8 as read back).
std::string RowName(int i, bool gbk) { return (gbk ? "\xD0\xD0" : "行") + std::string(i < 10 ? "0" : "") + std::to_string(i); }

// The first `count` of `rows` rows as the multi-line field holds them when
// each was followed by a Tab, the last without.
std::string TabbedRows(int count) {
  std::string out;
  for (int i = 1; i <= count; ++i) {
    if (i > 1) out += '\t';
    out += RowName(i, false);
  }
  return out;
}

// Slot A of rows r1 … rN (or 行01 … 行nn), each with one Enter (or Tab);
// row 1 carries the hotkey Ctrl+Shift+F2.
void WriteNumberedRows(int count, bool chinese = false) {
  std::ofstream rows(Beside("保存A.txt"), std::ios::binary);
  std::ofstream extras(Beside("跳快数据A.txt"), std::ios::binary);
  for (int i = 1; i <= count; ++i) {
    if (chinese) rows << RowName(i, true);
    else rows << 'r' << i;
    rows << "\xA1\xEF";
    extras << "1\xA1\xEF\xA1\xEF" << (i == 1 ? "Ctrl+Shift+F2" : "") << "\r\n";
  }
}

class PasteTest : public TovanTest {
 protected:
  void SetUp() override {
    std::filesystem::remove(Beside("选择框.txt"));
    const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    const int rows = test.find("Soak") != std::string::npos     ? 300
                     : test.find("Fifty") != std::string::npos  ? 50
                     : test.find("Thirty") != std::string::npos ? 30
                     : test.find("Twenty") != std::string::npos ? 20
                     : test.find("Twelve") != std::string::npos ? 12
                                                                : 4;
    if (rows == 4)
      WriteSlotA(test.find("Pause") != std::string::npos);
    else
      WriteNumberedRows(rows, rows == 12 || rows == 20 || rows == 50);
    // Another program holds the slot's hotkey before it is loaded.
    if (test.find("Refused") != std::string::npos) {
      ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_SHIFT, VK_F2));
    }
    TovanTest::SetUp();
    if (HasFatalFailure()) return;
    table_ = Control("超级列表框1");
    ASSERT_TRUE(ClickButton(Control("打开A")));
    ASSERT_TRUE(WaitUntil([&] { return ListItemCount(table_) == rows; }));
    ASSERT_NO_FATAL_FAILURE(target_.Start());
  }
  void TearDown() override {
    UnregisterHotKey(nullptr, 1);
    target_.Close();
    TovanTest::TearDown();
    for (const char* name : {"保存A.txt", "跳快数据A.txt", "选择框.txt"}) std::filesystem::remove(Beside(name));
  }
  HWND Field(int id) const { return target_.Field(id); }
  void ChooseMode(const char* mode) { ASSERT_TRUE(SelectComboItem(Control("组合框66"), std::string_view(mode))); }
  // Whether some program holds Ctrl+Shift+key (F2 unless told) as a system-wide hotkey.
  static bool HotkeyTaken(UINT key = VK_F2) {
    if (!RegisterHotKey(nullptr, 0xBFFE, MOD_CONTROL | MOD_SHIFT, key)) return true;
    UnregisterHotKey(nullptr, 0xBFFE);
    return false;
  }
  // Opening the slot loaded the first row's hotkey. Probing holds the
  // combination for a moment: only once the program has had time to
  // register it (the caption changes first, then 210 ms of waits), else the
  // probe itself could make the registration fail.
  void CaptureAndLoadHotkey() {
    ASSERT_TRUE(WaitUntil([&] { return WindowText(Control("加载热键")) == "卸载热键"; }));
    Sleep(500);
    ASSERT_TRUE(WaitUntil([] { return HotkeyTaken(); }, kDefaultTimeoutMs, 200)) << "the row hotkey was not registered";
  }
  // The target's field focused, the hotkey pressed.
  void PressHotkeyIn(HWND field, int times = 1) {
    ASSERT_NO_FATAL_FAILURE(FocusWithKeysSettled(field));
    for (int i = 0; i < times; ++i) ASSERT_TRUE(PressChord({VK_CONTROL, VK_SHIFT}, VK_F2));
  }
  std::vector<std::string> Fields() {
    std::vector<std::string> out;
    for (int id = 101; id <= 104; ++id) out.push_back(WindowText(Field(id)).value_or("?"));
    return out;
  }
  // The target started again as a program that takes its time, and an
  // automatic horizontal run pressed into its multi-line field, which takes
  // Tabs as characters.
  void RunIntoASlowTarget(const std::vector<std::wstring>& switches) {
    target_.Close();
    std::vector<std::wstring> all = switches;
    all.push_back(L"--memo-takes-tab");
    ASSERT_NO_FATAL_FAILURE(target_.Start(all));
    CaptureAndLoadHotkey();
    ChooseMode("自动横向粘贴");
    PressHotkeyIn(Field(105));
  }
  // Every row once, in order, and nothing more coming; or, where a stop
  // with its hint is allowed, the rows before the stop each once.
  void ExpectEachRowOnceInOrder(int rows, int within_ms, bool stop_allowed) {
    const bool all = WaitUntil([&] { return WindowText(Field(105)) == TabbedRows(rows); }, within_ms, 50);
    Sleep(1500);
    const std::string got = WindowText(Field(105)).value_or("?");
    if (all || !stop_allowed) {
      EXPECT_EQ(got, TabbedRows(rows));
      return;
    }
    EXPECT_TRUE(BalloonShown()) << "stopped without a hint: " << got;
    bool prefix = false;
    for (int n = 0; n < rows && !prefix; ++n) prefix = got == TabbedRows(n) || got == TabbedRows(n) + (n ? "\t" : "");
    EXPECT_TRUE(prefix) << "rows lost or twice: " << got;
  }
  HWND table_ = nullptr;
  TargetProgram target_;
};

TEST_F(PasteTest, TwelveRowsIntoAFormBusyFor800MsAfterEveryTabArriveOnceEachInOrder) {
  RunIntoASlowTarget({L"--busy", L"800"});
  ExpectEachRowOnceInOrder(12, 30000, false);
}

TEST_F(PasteTest, TwentyRowsIntoAProgramThatStopsAnsweringForASecondAndAHalfArriveOnceEach) {
  RunIntoASlowTarget({L"--busy", L"1500@10"});
  ExpectEachRowOnceInOrder(20, 20000, false);
}

TEST_F(PasteTest, TwelveRowsIntoABusyFormBesideAClipboardToolHoldingTheClipboardArriveOnceEach) {
  // The tool opens the clipboard 150 ms after each change and holds it
  // 30 ms without reading; the form is busy 400 ms after each Tab.
  ChildProcess peek = ChildProcess::Start(ThisExeDirectory() + L"\\tovan_clipboard_peer.exe", {L"peek", L"150", L"30"});
  ASSERT_TRUE(WaitUntil([&] {
    HANDLE watching = OpenEventW(SYNCHRONIZE, FALSE, L"TovanClipboardWatching150");
    if (!watching) return false;
    const bool set = WaitForSingleObject(watching, 0) == WAIT_OBJECT_0;
    CloseHandle(watching);
    return set;
  }));
  RunIntoASlowTarget({L"--busy", L"400"});
  ExpectEachRowOnceInOrder(12, 30000, true);
  peek.Terminate();
}

TEST_F(PasteTest, FiftyRowsIntoAFieldThatKeepsNothingOfEverySeventhPasteArriveOnceEachInOrder) {
  RunIntoASlowTarget({L"--discard-pastes", L"7"});
  ExpectEachRowOnceInOrder(50, 40000, false);
}

TEST_F(PasteTest, TwelveRowsIntoAFieldThatKeepsNoPasteStopAtTheFirstWithItsHintAndNothingTwice) {
  RunIntoASlowTarget({L"--discard-pastes", L"1"});
  ASSERT_TRUE(WaitUntil([&] { return BalloonShown(); }, 10000)) << "the run did not stop with its hint";
  Sleep(1500);
  EXPECT_EQ(WindowText(Field(105)).value_or("?"), "");
  // The row that did not arrive stays current: the next press starts there.
  EXPECT_EQ(SendWithTimeout(table_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 0);
}

TEST_F(PasteTest, TwelveRowsStopAtTheQuestionTheFormAsksAfterItsTenthFieldAndNothingGoesIntoIt) {
  target_.Close();
  ASSERT_NO_FATAL_FAILURE(target_.Start({L"--ask-after", L"10"}));
  CaptureAndLoadHotkey();
  ChooseMode("自动纵向粘贴");
  PressHotkeyIn(Field(105));
  // The form's own question, after the 10th row's Enter: a window of the
  // same program in front.
  const HWND question = FindTopWindow("Tovan Question", 20000, target_.Id());
  ASSERT_NE(question, nullptr) << "no question came up: " << WindowText(Field(105)).value_or("?");
  ASSERT_TRUE(WaitUntil([&] { return BalloonShown(); }, 5000)) << "the run did not stop with its hint";
  Sleep(1000);
  EXPECT_TRUE(IsWindow(question) && IsWindowVisible(question)) << "the run answered the question";
  std::string expected;
  for (int i = 1; i <= 10; ++i) expected += RowName(i, false) + "\r\n";
  EXPECT_EQ(WindowText(Field(105)).value_or("?"), expected);
  PostMessageW(question, WM_CLOSE, 0, 0);
}

TEST_F(PasteTest, AQueuedPressSendsNothingIntoTheWindowTheUserSwitchedTo) {
  TargetProgram other;
  ASSERT_NO_FATAL_FAILURE(other.Start());
  // Below the first one, not over it, so that a click reaches it.
  ASSERT_TRUE(SetWindowPos(other.Window(), nullptr, 100, 450, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
  CaptureAndLoadHotkey();
  ASSERT_TRUE(SelectComboItem(Control("组合框2"), std::string_view("300")));
  // Two quick presses in the target; once the first row is in, the user
  // clicks into the other window.
  PressHotkeyIn(Field(101), 2);
  ASSERT_TRUE(WaitUntil([&] { return WindowText(Field(101)) == "张三"; }));
  ASSERT_TRUE(WaitUntil([&] {
    if (GetForegroundWindow() == other.Window()) return true;
    ClickAt(CenterOf(other.Field(101)));
    return false;
  }, 10000, 200)) << "the other window did not come to the front";
  Sleep(1500);
  for (int id = 101; id <= 105; ++id) EXPECT_EQ(WindowText(other.Field(id)).value_or("?"), "") << id;
  EXPECT_EQ(Fields(), (std::vector<std::string>{"张三", "", "", ""}));
  EXPECT_TRUE(BalloonShown());
  other.Close();
}

TEST_F(PasteTest, BlankRowsDeletedAboveTheCurrentRowLeaveItCurrent) {
  // 张三, a blank row, 李四, 王五; 王五 chosen in the table; then a file
  // dropped: its rows are added and the blank rows already there deleted.
  std::ofstream(Beside("保存A.txt"), std::ios::binary)
      << "\xD5\xC5\xC8\xFD\xA1\xEF\xA1\xEF\xC0\xEE\xCB\xC4\xA1\xEF\xCD\xF5\xCE\xE5\xA1\xEF";
  ASSERT_TRUE(ClickButton(Control("打开A")));
  ASSERT_TRUE(WaitUntil([&] { return ListCellText(table_, 3, 1) == "王五"; }));
  CaptureAndLoadHotkey();
  ASSERT_TRUE(SelectComboItem(Control("导入方式"), std::string_view("Excel制表符录入")));
  ASSERT_TRUE(ClickAt(*ListCellPoint(table_, 3, 1)));
  ASSERT_TRUE(WaitUntil([&] { return SendWithTimeout(table_, LVM_GETNEXTITEM, -1, LVNI_SELECTED) == 3; }));
  std::ofstream(Beside("导入 赵六.txt"), std::ios::binary) << "\xD5\xD4\xC1\xF9\r\n";
  std::string error;
  ASSERT_TRUE(DropFiles(CenterOf(table_), {Beside("导入 赵六.txt").wstring()}, &error)) << error;
  ASSERT_TRUE(WaitUntil([&] { return ListCellText(table_, 3, 1) == "赵六" && ListItemCount(table_) == 4; }));
  // Into the field, clicked as a user does (again when Wine lost the click
  // that activates the window).
  ASSERT_TRUE(WaitUntil([&] {
    if (GetForegroundWindow() == target_.Window()) return true;
    ClickAt(CenterOf(Field(101)));
    return false;
  }, 10000, 500));
  PressHotkeyIn(Field(101));
  ASSERT_TRUE(WaitUntil([&] { return !WindowText(Field(101)).value_or("").empty(); }));
  Sleep(300);
  EXPECT_EQ(WindowText(Field(101)), "王五");
  std::filesystem::remove(Beside("导入 赵六.txt"));
}

TEST_F(PasteTest, ManualHorizontalPressesFillTheFieldsInOrderWithTabBetween) {
  CaptureAndLoadHotkey();
  PressHotkeyIn(Field(101));
  ASSERT_TRUE(WaitUntil([&] { return WindowText(Field(101)) == "张三" && FocusOf(Field(102)) == Field(102); }))
      << *WindowText(Field(101));
  // The next press once the field is filled and the focus has moved on, as
  // a user sees it.
  ASSERT_TRUE(PressChord({VK_CONTROL, VK_SHIFT}, VK_F2));
  ASSERT_TRUE(WaitUntil([&] { return WindowText(Field(102)) == "李四" && FocusOf(Field(103)) == Field(103); }))
      << *WindowText(Field(102));
  ASSERT_TRUE(PressChord({VK_CONTROL, VK_SHIFT}, VK_F2));
  EXPECT_TRUE(WaitUntil([&] { return Fields() == std::vector<std::string>{"张三", "李四", "王五", ""}; }, 8000))
      << Fields()[1] << "|" << Fields()[2];
}

TEST_F(PasteTest, TwoTapsWithTheModifiersStillHeldPasteTwoRowsEachOnce) {
  // The second tap comes while the first press waits for Ctrl and Shift to
  // be let go: it pastes the next row after it, not the same row again.
  CaptureAndLoadHotkey();
  ASSERT_NO_FATAL_FAILURE(FocusWithKeysSettled(Field(101)));
  ASSERT_TRUE(KeyDown(VK_CONTROL));
  ASSERT_TRUE(KeyDown(VK_SHIFT));
  ASSERT_TRUE(PressKey(VK_F2));
  Sleep(300);
  ASSERT_TRUE(PressKey(VK_F2));
  Sleep(300);
  ASSERT_TRUE(KeyUp(VK_SHIFT));
  ASSERT_TRUE(KeyUp(VK_CONTROL));
  EXPECT_TRUE(WaitUntil([&] { return Fields() == std::vector<std::string>{"张三", "李四", "", ""}; }, 8000))
      << Fields()[0] << "|" << Fields()[1] << "|" << Fields()[2];
  Sleep(1000);
  EXPECT_EQ(Fields(), (std::vector<std::string>{"张三", "李四", "", ""}));
}

TEST_F(PasteTest, AnAutomaticRunOfThirtyRowsStopsWhenItsTargetClosesAndTypesNothingElsewhere) {
  TargetProgram other;  // the program that has the focus next
  ASSERT_NO_FATAL_FAILURE(other.Start());
  CaptureAndLoadHotkey();
  ChooseMode("自动纵向粘贴");
  PressHotkeyIn(Field(105));
  ASSERT_TRUE(WaitUntil([&] { return WindowText(Field(105)).value_or("").find("r10\r\n") != std::string::npos; }, 15000))
      << *WindowText(Field(105));
  target_.Close();
  ASSERT_TRUE(FocusControl(other.Field(105)));
  EXPECT_TRUE(WaitUntil([&] { return BalloonShown(); }, 3000)) << "no hint that the run stopped";
  Sleep(3000);
  for (int id = 101; id <= 105; ++id) EXPECT_EQ(WindowText(other.Field(id)), "") << "field " << id;
  other.Close();
}

// Long (a minute or more): run on its own, as the test "e2e.soak".
TEST_F(PasteTest, SoakThreeHundredRowsArriveOnceEachInOrderPastAClipboardManagerAndASlowReader) {
  // A clipboard manager reads every change at once; a slow reader opens the
  // clipboard 600 ms after each change and holds it 50 ms while it reads.
  const std::wstring peer = ThisExeDirectory() + L"\\tovan_clipboard_peer.exe";
  ChildProcess manager = ChildProcess::Start(peer, {L"watch", L"0", L"0"});
  ChildProcess slow = ChildProcess::Start(peer, {L"watch", L"600", L"50"});
  for (const wchar_t* event : {L"TovanClipboardWatching0", L"TovanClipboardWatching600"})
    ASSERT_TRUE(WaitUntil([&] {
      HANDLE watching = OpenEventW(SYNCHRONIZE, FALSE, event);
      if (!watching) return false;
      const bool set = WaitForSingleObject(watching, 0) == WAIT_OBJECT_0;
      CloseHandle(watching);
      return set;
    }));
  CaptureAndLoadHotkey();
  ChooseMode("自动纵向粘贴");
  ASSERT_TRUE(SelectComboItem(Control("组合框2"), std::string_view("10")));
  std::string expected;
  for (int i = 1; i <= 300; ++i) {
    expected += 'r';
    expected += std::to_string(i);
    if (i < 300) expected += "\r\n";
  }
  const DWORD start = GetTickCount();
  PressHotkeyIn(Field(105));
  // A paste whose read another program's hold kept from coming is not
  // pressed twice: the run stops on that row with its hint, and the user
  // presses again.
  int presses = 1;
  std::size_t length = 0;
  DWORD changed = start;
  bool all = false;
  while (!(all = WindowText(Field(105)).value_or("").ends_with("r300")) && GetTickCount() - start < 240000) {
    const std::size_t now = WindowText(Field(105)).value_or("").size();
    if (now != length) {
      length = now;
      changed = GetTickCount();
    } else if (GetTickCount() - changed > 3300 && BalloonShown()) {
      ASSERT_TRUE(PressChord({VK_CONTROL, VK_SHIFT}, VK_F2));
      ++presses;
      changed = GetTickCount();
    }
    Sleep(100);
  }
  const DWORD took = GetTickCount() - start;
  Sleep(500);
  const std::string got = WindowText(Field(105)).value_or("");
  manager.Terminate();
  slow.Terminate();
  ASSERT_TRUE(all) << "the run did not reach the last row: " << got.substr(got.size() > 60 ? got.size() - 60 : 0);
  EXPECT_EQ(got, expected);
  std::printf("300 rows past a clipboard manager and a slow reader: %lu ms, %.1f ms a row (waits of 110 ms a row), "
              "%d presses\n",
              took, took / 300.0, presses);
}

// Long: run with the soak. Programs nobody here wrote, a plain edit field
// and a rich edit field: every row once, in order, and the time a row takes
// against the plainest paster's into the same field.
TEST_F(PasteTest, SoakThreeHundredRowsArriveOnceEachInWinesNotepadAndWordpad) {
  ChooseMode("自动纵向粘贴");
  ASSERT_TRUE(SelectComboItem(Control("组合框2"), std::string_view("10")));
  std::string expected;
  for (int i = 1; i <= 300; ++i) {
    expected += 'r';
    expected += std::to_string(i);
    if (i < 300) expected += '\n';
  }
  struct Program {
    const char* name;
    const wchar_t* path;
    const wchar_t* field_class;
  };
  for (const Program& program : {Program{"wordpad", L"C:\\Program Files\\Windows NT\\Accessories\\wordpad.exe",
                                         L"RichEdit20W"},
                                 Program{"notepad", L"C:\\windows\\system32\\notepad.exe", L"Edit"}}) {
    SCOPED_TRACE(program.name);
    ChildProcess process = ChildProcess::Start(program.path);
    HWND field = NotepadEdit(process, program.field_class);
    ASSERT_NE(field, nullptr);
    // From the first row: the slot opened again (a click in the table
    // would bring the tool's window to the front, and Wine may do that
    // only after the field has been clicked).
    ASSERT_TRUE(ClickButton(Control("打开A")));
    ASSERT_NO_FATAL_FAILURE(CaptureAndLoadHotkey());
    ASSERT_TRUE(WaitUntil([&] { return SendWithTimeout(table_, LVM_GETNEXTITEM, -1, LVNI_SELECTED) == 0; }));
    // Into the field, clicked as a user does (again when Wine lost the
    // click that activates the window).
    ASSERT_TRUE(WaitUntil([&] {
      if (ProcessIdOf(GetForegroundWindow()) == process.Id()) return true;
      ClickAt(CenterOf(field));
      return false;
    }, 10000, 500)) << "the program did not come to the front";
    ASSERT_NO_FATAL_FAILURE(FocusWithKeysSettled(field));
    ASSERT_TRUE(PressChord({VK_CONTROL, VK_SHIFT}, VK_F2));
    const std::vector<double> arrivals = RowArrivals(field, 300, NumberedRowLength, 1, 5000);
    ASSERT_EQ(arrivals.size(), 300u) << "the run stopped; in front: process " << ProcessIdOf(GetForegroundWindow())
                                     << " (the field's " << process.Id() << "), focus on the field: "
                                     << (FocusOf(field) == field) << ", a hint: " << BalloonShown();
    Sleep(500);
    EXPECT_EQ(FieldTextWithoutCr(field), expected);
    std::vector<double> tool;
    for (std::size_t i = 1; i < arrivals.size(); ++i) tool.push_back(arrivals[i] - arrivals[i - 1] - 110);
    ASSERT_TRUE(SetWindowTextTo(field, ""));
    ASSERT_TRUE(FocusControl(field));
    const std::vector<double> reference = MinimalPaste(field, 300, 100, VK_RETURN, 10);
    ASSERT_FALSE(reference.empty()) << "the minimal paster's rows did not arrive";
    std::printf("300 rows into %s: %.0f ms, %.1f ms a row (waits of 110 ms); per row beyond the waits, median: "
                "the tool %.2f ms, a minimal paster %.2f ms\n",
                program.name, arrivals.back(), arrivals.back() / 300, Median(tool), Median(reference));
    process.Terminate();
  }
}

TEST_F(PasteTest, AnAutomaticRunStopsAtAPauseRowAndTheNextPressGoesOn) {
  CaptureAndLoadHotkey();
  ChooseMode("自动横向粘贴");
  PressHotkeyIn(Field(101));
  ASSERT_TRUE(WaitUntil([&] { return Fields() == std::vector<std::string>{"张三", "李四", "", ""}; }, 8000));
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(Field(103)) == Field(103); }));
  ASSERT_TRUE(PressChord({VK_CONTROL, VK_SHIFT}, VK_F2));
  EXPECT_TRUE(WaitUntil([&] { return Fields() == std::vector<std::string>{"张三", "李四", "王五", "赵六"}; }, 8000));
}

TEST_F(PasteTest, ManualVerticalPressesFillAMultiLineFieldLineByLine) {
  CaptureAndLoadHotkey();
  ChooseMode("手动纵向粘贴");
  PressHotkeyIn(Field(105));
  ASSERT_TRUE(WaitUntil([&] { return WindowText(Field(105)) == "张三\r\n"; }, 8000)) << *WindowText(Field(105));
  ASSERT_TRUE(PressChord({VK_CONTROL, VK_SHIFT}, VK_F2));
  EXPECT_TRUE(WaitUntil([&] { return WindowText(Field(105)) == "张三\r\n李四\r\n"; }, 8000)) << *WindowText(Field(105));
}

TEST_F(PasteTest, AllCheckedRowsArriveInOnePaste) {
  CaptureAndLoadHotkey();
  ASSERT_TRUE(ClickListCheckBox(table_, 1));
  ASSERT_TRUE(ClickListCheckBox(table_, 3));
  ChooseMode("勾选项全部粘贴");  // the checked-row order, and the hotkeys loaded again
  ASSERT_TRUE(WaitUntil([&] { return ListCellText(table_, 0, 4) == "Ctrl+Shift+F2"; }));
  Sleep(500);
  ASSERT_TRUE(WaitUntil([] { return HotkeyTaken(); }, kDefaultTimeoutMs, 200));
  PressHotkeyIn(Field(105));
  EXPECT_TRUE(WaitUntil([&] { return WindowText(Field(105)) == "李四\r\n赵六\r\n"; }, 8000)) << *WindowText(Field(105));
}

TEST_F(PasteTest, TheForcedModesTypeOrPostTheRowsWithoutTheClipboard) {
  CaptureAndLoadHotkey();
  ChooseMode("账号强制粘贴");
  PressHotkeyIn(Field(101));
  ASSERT_TRUE(WaitUntil([&] { return WindowText(Field(101)) == "张三" && FocusOf(Field(102)) == Field(102); }, 8000))
      << *WindowText(Field(101));
  // The web mode posts to the window under the mouse cursor.
  ChooseMode("网页强制粘贴");
  ASSERT_TRUE(MoveMouseTo(CenterOf(Field(103))));
  ASSERT_TRUE(PressChord({VK_CONTROL, VK_SHIFT}, VK_F2));
  EXPECT_TRUE(WaitUntil([&] { return WindowText(Field(103)) == "李四"; }, 8000)) << *WindowText(Field(103));
}

TEST_F(PasteTest, ChordsTypedIntoARecorderBoxAndAHotkeyCellAreCapturedAndTheCellsOnePastes) {
  CaptureAndLoadHotkey();
  HWND load = Control("加载热键");
  // Pressing the mouse on a recorder box unloads the row hotkeys; the box
  // has the focus once that is done.
  HWND record = Control("记录");
  ASSERT_TRUE(ClickControl(record));
  ASSERT_TRUE(WaitUntil([&] { return WindowText(load) == "加载热键" && FocusOf(record) == record; }));
  ASSERT_TRUE(PressChord({VK_CONTROL, VK_SHIFT}, VK_F7));
  EXPECT_TRUE(WaitUntil([&] { return WindowText(record) == "Ctrl+Shift+F7"; })) << *WindowText(record);
  // Row 2's hotkey cell: the chord, then Enter to keep it.
  ASSERT_TRUE(DoubleClickAt(*ListCellPoint(table_, 1, 4)));
  HWND editor = Control("编辑框1007");
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(editor) != FALSE && FocusOf(editor) == editor; }));
  ASSERT_TRUE(PressChord({VK_CONTROL, VK_SHIFT}, VK_F6));
  ASSERT_TRUE(WaitUntil([&] { return WindowText(editor) == "Ctrl+Shift+F6"; })) << *WindowText(editor);
  ASSERT_TRUE(PressKey(VK_RETURN));
  ASSERT_TRUE(WaitUntil([&] { return ListCellText(table_, 1, 4) == "Ctrl+Shift+F6"; }));
  ASSERT_TRUE(ClickButton(load));
  ASSERT_TRUE(WaitUntil([&] { return WindowText(load) == "卸载热键"; }));
  Sleep(500);  // registration runs 220 ms after the caption changes
  ASSERT_TRUE(HotkeyTaken(VK_F6)) << "the captured hotkey was not registered";
  // The new hotkey pastes the current row: row 2, clicked.
  ASSERT_TRUE(ClickAt(*ListCellPoint(table_, 1, 1)));
  ASSERT_TRUE(WaitUntil([&] { return SendWithTimeout(table_, LVM_GETNEXTITEM, -1, LVNI_SELECTED) == 1; }));
  ASSERT_TRUE(FocusControl(Field(101)));
  ASSERT_TRUE(PressChord({VK_CONTROL, VK_SHIFT}, VK_F6));
  EXPECT_TRUE(WaitUntil([&] { return WindowText(Field(101)) == "李四"; }, 8000)) << *WindowText(Field(101));
}

TEST_F(PasteTest, RowsArriveInNotepadToo) {
  CaptureAndLoadHotkey();
  ChooseMode("手动纵向粘贴");
  ChildProcess notepad = ChildProcess::Start(L"C:\\windows\\system32\\notepad.exe");
  HWND edit = NotepadEdit(notepad);
  ASSERT_NE(edit, nullptr);
  PressHotkeyIn(edit);
  ASSERT_TRUE(WaitUntil([&] { return WindowText(edit) == "张三\r\n"; }, 8000)) << *WindowText(edit);
  ASSERT_TRUE(PressChord({VK_CONTROL, VK_SHIFT}, VK_F2));
  EXPECT_TRUE(WaitUntil([&] { return WindowText(edit) == "张三\r\n李四\r\n"; }, 8000)) << *WindowText(edit);
  notepad.Terminate();
}

TEST_F(PasteTest, AHotkeyAnotherProgramHoldsIsRefusedAndShown) {
  // This program held Ctrl+Shift+F2 before the slot was opened.
  EXPECT_TRUE(WaitUntil([&] { return ListCellText(table_, 0, 4) == ""; }));
  // The balloon that says so.
  EXPECT_TRUE(WaitUntil([&] { return BalloonShown(); }));
}

}  // namespace
}  // namespace tovan::e2e
