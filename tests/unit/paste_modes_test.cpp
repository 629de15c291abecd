#include "tests/unit/paste_test_fixture.h"

namespace tovan {
namespace {

using Lines = std::vector<std::string>;

TEST_F(PasteTest, AManualHorizontalPressPastesWaitsAndTabsByTheRowsSkipCount) {
  Prepare({"张三", "李四"}, {"3", ""});
  const auto t0 = PressF2();
  EXPECT_EQ(Story(t0), (Lines{"+0 clip 张三", "+100 Ctrl+V", "+200 Tab", "+300 Tab", "+400 Tab"}));
  EXPECT_EQ(List().CurrentRow(), 1);
}

TEST_F(PasteTest, SkipTextsAreTruncatedNumbersAndEmptyOrZeroPressesNothing) {
  Prepare({"a", "b", "c", "d"}, {"", "0", "2.9", "1e-400"}, 10);
  const auto t0 = PressF2();
  PressF2();
  PressF2();
  PressF2();
  EXPECT_EQ(Story(t0), (Lines{"+0 clip a", "+100 Ctrl+V", "+100 clip b", "+200 Ctrl+V", "+200 clip c", "+300 Ctrl+V",
                              "+310 Tab", "+320 Tab", "+320 clip d", "+420 Ctrl+V"}));
}

TEST_F(PasteTest, AManualVerticalPressUsesEnterAndNoCurrentRowPastesNothingThenRowZero) {
  Prepare({"x", "y"}, {"1", "1"});
  Mode("手动纵向粘贴");
  List().SetCurrentRow(-1);
  const auto t0 = PressF2();
  // An empty text would paste nothing: no Ctrl+V.
  EXPECT_EQ(Story(t0), (Lines{"+0 clip "}));
  EXPECT_EQ(List().CurrentRow(), 0);
  const auto t1 = PressF2();
  EXPECT_EQ(Story(t1), (Lines{"+0 clip x", "+100 Ctrl+V", "+200 Enter"}));
}

TEST_F(PasteTest, AnAutomaticRunPastesEveryRowAndTheLastWithoutItsTabs) {
  Prepare({"r0", "r1", "r2", "r3", "r4"}, {"1", "1", "1", "1", "1"}, 10);
  Mode("自动横向粘贴");
  const auto t0 = PressF2();
  EXPECT_EQ(Story(t0), (Lines{"+30 clip r0", "+130 Ctrl+V", "+140 Tab", "+140 clip r1", "+240 Ctrl+V", "+250 Tab",
                              "+250 clip r2", "+350 Ctrl+V", "+360 Tab", "+360 clip r3", "+460 Ctrl+V", "+470 Tab",
                              "+470 clip r4", "+570 Ctrl+V"}));
  EXPECT_EQ(U("按钮120").Text(), "自动");
  EXPECT_EQ(U("编辑框1011").Text(), "66");
  EXPECT_EQ(List().CurrentRow(), 4);
}

TEST_F(PasteTest, APauseRowIsPastedWithItsTabsAndTheNextPressGoesOnAfterIt) {
  Prepare({"r0", "r1", "r2", "r3", "r4"}, {"1", "1", "1", "1", "1"}, 10);
  app.Rows().SetCell(2, table::kPause, "暂停");
  Mode("自动横向粘贴");
  const auto t0 = PressF2();
  const Lines story = Story(t0);
  EXPECT_EQ(std::count_if(story.begin(), story.end(), [](const std::string& s) { return s.find("clip") != std::string::npos; }), 3);
  EXPECT_EQ(story.back(), "+360 Tab");  // row 2's own Tab
  EXPECT_EQ(List().CurrentRow(), 3);
  EXPECT_EQ(U("按钮120").Text(), "自动");
  const auto t1 = PressF2();
  EXPECT_EQ(Story(t1).at(0), "+30 clip r3");
}

TEST_F(PasteTest, ASecondPressDuringARunStopsItBeforeTheNextRow) {
  Prepare({"r0", "r1", "r2", "r3", "r4"}, {"", "", "", "", ""}, 10);
  Mode("自动横向粘贴");
  sim.clock.AfterMillis(150, [&] { sim.hotkeys.Press(0, kF2); });  // while row 1 waits for its Ctrl+V
  const auto t0 = PressF2();
  EXPECT_EQ(Story(t0), (Lines{"+30 clip r0", "+130 Ctrl+V", "+130 clip r1", "+230 Ctrl+V"}));
  EXPECT_EQ(U("按钮120").Text(), "自动");
  EXPECT_EQ(U("编辑框1011").Text(), "66");
  EXPECT_EQ(List().CurrentRow(), 2);
}

TEST_F(PasteTest, AnAutomaticRunStopsWhenAnotherProgramComesToTheFront) {
  Prepare({"r0", "r1", "r2", "r3", "r4"}, {"1", "1", "1", "1", "1"}, 10);
  Mode("自动横向粘贴");
  sim.ui.SetForegroundWindow(700, 42);  // the program being filled
  sim.clock.AfterMillis(200, [&] { sim.ui.SetForegroundWindow(0, 0); });     // its window closes
  sim.clock.AfterMillis(220, [&] { sim.ui.SetForegroundWindow(800, 77); });  // and a chat takes the focus
  const auto t0 = PressF2();
  EXPECT_EQ(Story(t0), (Lines{"+30 clip r0", "+130 Ctrl+V", "+140 Tab", "+140 clip r1"}));
  EXPECT_EQ(U("按钮120").Text(), "自动");
  EXPECT_EQ(U("编辑框1011").Text(), "66");
  EXPECT_EQ(List().CurrentRow(), 1);  // the next run begins with the row not pasted
  const auto balloons = sim.log.Of(rt::sim::Action::kBalloon);
  ASSERT_FALSE(balloons.empty());
  EXPECT_NE(balloons.back().detail.find("●目标窗口已关闭或切换，自动粘贴已停止！"), std::string::npos);
  // Back in front, the next press goes on from that row.
  sim.ui.SetForegroundWindow(700, 42);
  EXPECT_EQ(Story(PressF2()).at(0), "+30 clip r1");
}

TEST_F(PasteTest, APressWhileAStopIsPendingDoesNothingMore) {
  Prepare({"r0", "r1", "r2", "r3"}, {"", "", "", ""}, 10);
  Mode("自动横向粘贴");
  sim.clock.AfterMillis(150, [&] {
    sim.hotkeys.Press(0, kF2);  // stop requested
    sim.hotkeys.Press(0, kF2);  // while it is pending: nothing
  });
  const auto t0 = PressF2();
  // The run pastes the row it was on and stops before the next.
  EXPECT_EQ(Story(t0), (Lines{"+30 clip r0", "+130 Ctrl+V", "+130 clip r1", "+230 Ctrl+V"}));
  EXPECT_EQ(sim.target.Received(), "r0r1");
  EXPECT_EQ(U("按钮120").Text(), "自动");
  EXPECT_EQ(U("编辑框1011").Text(), "66");
  EXPECT_EQ(List().CurrentRow(), 2);
}

TEST_F(PasteTest, CheckedRowsArePastedInTableOrderThenTheSoundAndTheSavedChecksComeBack) {
  Prepare({"a", "b", "c", "d"}, {"", "1", "", ""}, 10);
  sim.ui.Click("按钮102");
  sim.ui.ToggleCheck("超级列表框1", 1);
  sim.ui.ToggleCheck("超级列表框1", 3);  // the check-state file now lists 2 and 4
  const auto t0 = PressF2();
  EXPECT_EQ(Story(t0), (Lines{"+0 clip b", "+10 Ctrl+V", "+20 Tab"}));
  EXPECT_EQ(CheckedRows(), (std::vector<int>{3}));
  EXPECT_EQ(List().CurrentRow(), 1);
  const auto t1 = PressF2();
  EXPECT_EQ(Story(t1), (Lines{"+0 clip d", "+10 Ctrl+V", "+20 sound"}));
  EXPECT_EQ(CheckedRows(), (std::vector<int>{1, 3}));
}

TEST_F(PasteTest, AllCheckedRowsGoInOnePaste) {
  Prepare({"A", "B", "C"}, {}, 10);
  Mode("勾选项全部粘贴");
  EXPECT_EQ(app.CopyMode(), 1);
  app.Rows().SetChecked(0, true);
  app.Rows().SetChecked(2, true);
  const auto t0 = PressF2();
  EXPECT_EQ(Story(t0), (Lines{"+0 clip A\r\nC\r\n", "+10 Ctrl+V"}));
  EXPECT_EQ(CheckedRows(), (std::vector<int>{0, 2}));
}

TEST_F(PasteTest, ASlotHotkeyPastesItsOwnRowWithEnterAndStaysThere) {
  std::vector<std::string> contents;
  for (int i = 1; i <= 8; ++i) contents.push_back("row" + std::to_string(i));
  Prepare(contents, {"", "", "", "", "", "", "2", ""}, 10);
  app.Rows().SetCell(0, table::kHotkey, "");
  app.Rows().SetCell(6, table::kHotkey, "F7");
  sim.ui.Click("加载热键");  // unload
  sim.ui.Click("加载热键");  // load: slot 7
  Mode("多热键纵向粘贴");
  const auto t0 = Now();
  sim.hotkeys.Press(0, 0x76);
  EXPECT_EQ(Story(t0), (Lines{"+0 clip row7", "+100 Ctrl+V", "+110 Enter", "+120 Enter"}));
  EXPECT_EQ(List().CurrentRow(), 6);
}

TEST_F(PasteTest, APictureAndTextRowPastesThePictureThenTheTextThenALineBreak) {
  sim.files.MakeDirectory("C:\\pics");
  sim.files.Write("C:\\pics\\a.png", "\x89PNG not really");
  Mode("单快捷键图文粘贴");  // an empty table gets 200 numbered rows
  ASSERT_EQ(app.Rows().RowCount(), 200u);
  app.Rows().SetCell(0, table::kContent, "C:\\pics\\a.png\r\nhello");
  app.Rows().SetCell(0, table::kHotkey, "F2");
  ChooseItem("组合框2", "10");
  sim.ui.Click("加载热键");
  List().SetCurrentRow(1);
  List().SetCurrentRow(0);  // builds the item list
  const auto t0 = PressF2();
  EXPECT_EQ(Story(t0), (Lines{"+20 picture", "+20 Ctrl+V", "+30 clip hello", "+30 Ctrl+V", "+30 Enter"}));
  EXPECT_EQ(List().CurrentRow(), 1);
}

TEST_F(PasteTest, MovingTheRowOnNeverTakesTheFocusFromTheProgramBeingFilled) {
  Prepare({"a", "b"}, {"", ""});
  sim.ui.FocusUnit("导入方式");
  sim.ui.SetActive(false);  // the user works in another program
  PressF2();
  EXPECT_EQ(sim.ui.FocusedUnit(), "导入方式");
  sim.ui.SetActive(true);
  List().SetCurrentRow(0);  // a row chosen in the window itself
  EXPECT_EQ(sim.ui.FocusedUnit(), "超级列表框1");
}

TEST_F(PasteTest, KeysWaitUntilTheUserLetsGoOfTheHotkeysModifiersAndASecondTapWaitsItsTurn) {
  // Ctrl+Shift held while the hotkey is tapped twice: the second tap comes
  // while the first waits for the modifiers, and pastes the next row after it.
  Prepare({"a", "b", "c"}, {"1", "1", ""}, 10);
  sim.keys.Hold(rt::kVkControl, true);
  sim.keys.Hold(rt::kVkShift, true);
  sim.clock.AfterMillis(300, [&] { sim.hotkeys.Press(0, kF2); });
  sim.clock.AfterMillis(600, [&] {
    sim.keys.Hold(rt::kVkControl, false);
    sim.keys.Hold(rt::kVkShift, false);
  });
  const auto t0 = PressF2();
  EXPECT_EQ(Story(t0), (Lines{"+0 clip a", "+600 Ctrl+V", "+610 Tab", "+610 clip b", "+710 Ctrl+V", "+720 Tab"}));
  EXPECT_EQ(List().CurrentRow(), 2);
}

TEST_F(PasteTest, TheNextTextWaitsUntilTheProgramPastingHasReadTheLastOne) {
  // Without Tabs nothing lies between one row's Ctrl+V and the next row's
  // write: a program that reads late would paste r1 twice and r0 never.
  Prepare({"r0", "r1", "r2"}, {"", "", ""}, 10);
  Mode("自动纵向粘贴");
  sim.target.PauseAt(static_cast<int>(sim.NowMillis()) + 120, 40, false);
  const auto t0 = PressF2();
  EXPECT_EQ(Story(t0), (Lines{"+30 clip r0", "+130 Ctrl+V", "+160 clip r1", "+260 Ctrl+V", "+260 clip r2",
                              "+360 Ctrl+V"}));
  EXPECT_EQ(sim.target.Received(), "r0r1r2");
}

TEST_F(PasteTest, APasteIsPressedOnceTheClipboardIsFreeAndOneThatFoundItHeldAnywayIsNotPressedAgain) {
  Prepare({"a", "b"}, {"1", "1"}, 10);
  // Pressed while another program holds the clipboard: it waits until it is free.
  sim.clock.AfterMillis(50, [&] { sim.clipboard.SetHeldByOther(true); });
  sim.clock.AfterMillis(170, [&] { sim.clipboard.SetHeldByOther(false); });
  auto t0 = PressF2();
  EXPECT_EQ(Story(t0), (Lines{"+0 clip a", "+170 Ctrl+V", "+180 Tab"}));
  // Another program takes the clipboard just as the program pasting gets to
  // the Ctrl+V: it pastes nothing, and with no read there is no proof of
  // that: no second Ctrl+V; the text is taken back and the row stays.
  const int now = static_cast<int>(sim.NowMillis());
  sim.target.PauseAt(now + 90, 30, true);
  sim.clock.AfterMillis(110, [&] { sim.clipboard.SetHeldByOther(true); });
  sim.clock.AfterMillis(140, [&] { sim.clipboard.SetHeldByOther(false); });
  t0 = PressF2();
  EXPECT_EQ(Story(t0), (Lines{"+0 clip b", "+100 Ctrl+V", "+3100 withdraw"}));
  EXPECT_EQ(sim.target.Received(), "a\t");
  EXPECT_EQ(List().CurrentRow(), 1);
}

TEST_F(PasteTest, AClipboardThatCannotBeWrittenPastesNothingAndStaysOnTheRow) {
  Prepare({"a", "b"}, {"1", "1"});
  sim.clipboard.SetHeldByOther(true);
  const auto t0 = PressF2();
  EXPECT_TRUE(Story(t0).empty());
  EXPECT_EQ(List().CurrentRow(), 0);
}

TEST_F(PasteTest, TheForcedModesTypeOrPostTheRow) {
  Prepare({"张三", "x"}, {"", "2"}, 10);
  Mode("账号强制粘贴");
  auto t0 = PressF2();
  EXPECT_EQ(Story(t0), (Lines{"+10 type 张 三", "+30 type {9}", "+40 type {9}"}));
  Mode("网页强制粘贴");
  sim.ui.SetCursor({5, 5}, 4660);
  sim.ui.SetForegroundWindow(4660);  // the page the user works in
  List().SetCurrentRow(0);
  t0 = PressF2();
  EXPECT_EQ(Story(t0), (Lines{"+0 post 4660 258 213 0", "+0 post 4660 258 197 0", "+0 post 4660 258 200 0",
                              "+0 post 4660 258 253 0"}));
}

}  // namespace
}  // namespace tovan
