// The backtick key's copy modes, backtick paste with the mouse, the
// same-page mode and pin-on-top, as timed stories on the simulated platform.
#include "runtime/gbk.h"
#include "table/button_colours.h"
#include "tests/unit/paste_test_fixture.h"

namespace tovan {
namespace {

using Lines = std::vector<std::string>;
using rt::sim::Action;

class BacktickTest : public PasteTest {
 protected:
  // The user works in another program's page, the mouse over it.
  static constexpr std::uintptr_t kPage = 3000;
  void SetUp() override {
    PasteTest::SetUp();
    sim.ui.SetForegroundWindow(kPage);
    sim.ui.SetCursor({0, 0}, kPage);
  }
  // The other program's selection, which its Ctrl+C puts on the clipboard
  // (nothing selected: Ctrl+C changes nothing).
  void Selected(const std::string& text) {
    sim.keys.OnChord([this, text](const std::string& chord) {
      if (chord == "Ctrl+C" && !text.empty()) sim.clipboard.SetText(text);
    });
  }
  Mark PressBacktick() {
    const Mark mark = Now();
    sim.hotkeys.Press(0, rt::kVkBacktick);
    return mark;
  }
  void ImportMode(const std::string& mode) { ChooseItem("导入方式", mode); }
  void Drag(rt::Point from, rt::Point to) {
    sim.mouse_hook.Send(rt::kLeftButtonDown, from);
    sim.mouse_hook.Send(rt::kLeftButtonUp, to);
  }
};

TEST_F(BacktickTest, ACopyHeldWhileASlotOpensIsAddedOnceAndAPressThatCopiedNothingAddsNothing) {
  std::string slot;
  for (int i = 0; i < 100; ++i) slot += "r" + std::to_string(i) + "★";
  sim.files.Write(sim.files.InRunDirectory("保存D.txt"), rt::ToGbk(slot).bytes);
  sim.worker.SetJobMillis(1200);  // the slot takes 1.2 s to read
  ImportMode("单次录入");
  sim.clock.AfterMillis(0, [&] { sim.ui.Click("打开D"); });
  // While it opens: a copy (held until the rows are in), then a press with
  // nothing selected, whose Ctrl+C changes nothing.
  sim.clock.AfterMillis(100, [&] {
    Selected("复制");
    sim.hotkeys.Press(0, rt::kVkBacktick);
  });
  sim.clock.AfterMillis(600, [&] {
    Selected("");
    sim.hotkeys.Press(0, rt::kVkBacktick);
  });
  sim.clock.Wait(3000);
  ASSERT_EQ(app.Rows().RowCount(), 101u);
  EXPECT_EQ(app.Rows().Cell(100, table::kContent), "复制");
}

TEST_F(BacktickTest, ACopyIntoTheTableIsSplitByTheImportModeAndEmptyPartsLeaveNoRow) {
  AddRows({"old"});
  ImportMode("自定义分割符录入");
  U("分割符").SetText(",");
  Selected("x,y,,z");
  auto t0 = PressBacktick();
  EXPECT_EQ(Story(t0), (Lines{"+100 Ctrl+C", "+100 clip x,y,,z", "+300 clip "}));
  EXPECT_EQ(ColumnOf(table::kContent), (Lines{"old", "x", "y", "z"}));
  EXPECT_EQ(ColumnOf(table::kNumber), (Lines{"1", "2", "3", "4"}));
  EXPECT_EQ(U("编辑框1005").Text(), "x,y,,z");

  ImportMode("Excel制表符录入");
  Selected("a\tb\tc\r\n");
  PressBacktick();
  EXPECT_EQ(ColumnOf(table::kContent), (Lines{"old", "x", "y", "z", "a", "b", "c"}));

  // One row with the whole text, lines and all.
  ImportMode("单次录入");
  Selected("两行\r\n\r\n文字");
  t0 = PressBacktick();
  EXPECT_EQ(Story(t0), (Lines{"+100 Ctrl+C", "+100 clip 两行\r\n\r\n文字", "+200 clip "}));
  EXPECT_EQ(ColumnOf(table::kContent).back(), "两行\r\n\r\n文字");
  EXPECT_EQ(ColumnOf(table::kNumber).back(), "8");

  // Nothing selected: nothing copied, nothing cleared.
  Selected("");
  t0 = PressBacktick();
  EXPECT_EQ(Story(t0), (Lines{"+100 Ctrl+C"}));
  EXPECT_EQ(app.Rows().RowCount(), 8u);
}

TEST_F(BacktickTest, ACopyMadeWhileASlotOpensBecomesRowsOnceTheOpenHasEnded) {
  sim.files.Write(sim.files.InRunDirectory("保存B.txt"), "s1\xA1\xEFs2\xA1\xEF");
  ImportMode("自定义分割符录入");
  U("分割符").SetText(",");
  Selected("x,y");
  sim.worker.SetJobMillis(400);  // the slot's file jobs take 400 ms
  sim.clock.AfterMillis(10, [&] { sim.hotkeys.Press(0, rt::kVkBacktick); });
  sim.ui.Click("打开B");
  sim.clock.Wait(1000);
  EXPECT_EQ(ColumnOf(table::kContent), (Lines{"s1", "s2", "x", "y"}));
  EXPECT_EQ(ColumnOf(table::kNumber), (Lines{"1", "2", "3", "4"}));
}

TEST_F(BacktickTest, ACopyIsReadOnlyOnceTheProgramHasCopiedUpToHalfASecond) {
  ImportMode("单次录入");
  // The program copies 170 ms after Ctrl+C; reading at 50 ms would find
  // the clipboard unchanged (and hold it just when the program writes).
  sim.keys.OnChord([&](const std::string& chord) {
    if (chord == "Ctrl+C") sim.clock.AfterMillis(170, [&] { sim.clipboard.SetText("慢"); });
  });
  PressBacktick();
  EXPECT_EQ(ColumnOf(table::kContent), (Lines{"慢"}));
}

TEST_F(BacktickTest, TheSamePageModeCollectsCopiesAsLinesAndDragsToo) {
  ChooseItem("组合框2", "10");
  sim.ui.Click("按钮104");
  EXPECT_EQ(U("按钮104").Text(), "同页保存");
  EXPECT_EQ(U("组合框1").Selection(), 4);
  EXPECT_TRUE(U("编辑框25").Visible());
  EXPECT_FALSE(U("超级列表框1").Visible());
  Selected("第一段");
  const auto t0 = PressBacktick();
  EXPECT_EQ(Story(t0), (Lines{"+100 Ctrl+C", "+100 clip 第一段", "+120 clip "}));
  EXPECT_EQ(U("编辑框25").Text(), "第一段\r\n");

  // With backtick paste on, two quick drags give two lines in their order:
  // the second selection is made while the first copy waits for the
  // clipboard, and Ctrl+C copies whatever is selected at that moment.
  sim.ui.Click("按钮66");
  std::string selection = "一";
  sim.keys.OnChord([&](const std::string& chord) {
    if (chord == "Ctrl+C") sim.clipboard.SetText(selection);
  });
  sim.clock.AfterMillis(30, [&] {
    selection = "二";
    Drag({10, 30}, {80, 30});
  });
  Drag({10, 10}, {80, 10});
  sim.clock.Wait(300);
  EXPECT_EQ(U("编辑框25").Text(), "第一段\r\n一\r\n二\r\n");
  EXPECT_EQ(sim.clipboard.Text(), "");
  // A drag that selected nothing does not hold up the next one: its Ctrl+C
  // goes out while "三" is still selected, not half a second later when
  // the user has clicked elsewhere.
  selection = "";
  sim.keys.OnChord([&](const std::string& chord) {
    if (chord == "Ctrl+C" && !selection.empty()) sim.clipboard.SetText(selection);
  });
  sim.clock.AfterMillis(30, [&] {
    selection = "三";
    Drag({10, 30}, {80, 30});
  });
  sim.clock.AfterMillis(200, [&] { selection = ""; });
  auto t0_drags = Now();
  Drag({10, 10}, {80, 10});
  sim.clock.Wait(700);
  EXPECT_EQ(U("编辑框25").Text(), "第一段\r\n一\r\n二\r\n三\r\n");
  EXPECT_EQ(Story(t0_drags), (Lines{"+10 Ctrl+C", "+60 Ctrl+C", "+60 clip 三", "+110 clip "}));
  // A right click is not taken as the forced paste's window in this mode.
  sim.ui.SetCursor({5, 5}, 4660);
  sim.mouse_hook.Send(rt::kRightButtonUp, {5, 5});
  sim.clock.Wait(100);
  EXPECT_EQ(U("编辑框句柄").Text(), "");
  // Turning backtick paste off in the same-page mode goes back to collecting.
  sim.ui.Click("按钮66");
  EXPECT_EQ(U("组合框1").Selection(), 4);
}

TEST_F(BacktickTest, BacktickPasteCopiesDragsAndPastesOnTheKeyOrAMiddleClick) {
  sim.ui.Click("按钮66");
  EXPECT_EQ(U("按钮66").Text(), "关闭复制");
  EXPECT_EQ(U("组合框1").Selection(), 5);
  EXPECT_TRUE(sim.mouse_hook.Installed("backtick"));
  // A click without movement copies nothing; a drag copies after the copy wait.
  auto t0 = Now();
  Drag({10, 10}, {10, 10});
  sim.clock.Wait(200);
  EXPECT_TRUE(Story(t0).empty());
  Selected("拖选");
  t0 = Now();
  Drag({10, 10}, {60, 12});
  sim.clock.Wait(200);
  EXPECT_EQ(Story(t0), (Lines{"+50 Ctrl+C", "+50 clip 拖选"}));
  EXPECT_EQ(sim.clipboard.Text(), "拖选");  // left for the paste
  t0 = PressBacktick();
  EXPECT_EQ(Story(t0), (Lines{"+50 Ctrl+V"}));
  t0 = Now();
  sim.mouse_hook.Send(rt::kMiddleButtonDown, {5, 5});
  EXPECT_EQ(Story(t0), (Lines{"+50 Ctrl+V"}));
  // A backtick press made while a drag's copy waits comes after that copy:
  // its paste never goes out before the Ctrl+C.
  sim.clock.AfterMillis(20, [&] { sim.hotkeys.Press(0, rt::kVkBacktick); });
  t0 = Now();
  Drag({10, 10}, {60, 12});
  sim.clock.Wait(300);
  EXPECT_EQ(Story(t0), (Lines{"+50 Ctrl+C", "+50 clip 拖选", "+150 Ctrl+V"}));
  // A drag in a window that has left the front by the copy's moment: no
  // Ctrl+C goes to the window now in front.
  t0 = Now();
  sim.clock.AfterMillis(20, [&] { sim.ui.SetForegroundWindow(4661); });
  Drag({10, 10}, {60, 12});
  sim.clock.Wait(200);
  EXPECT_EQ(Story(t0), (Lines{}));
  sim.ui.SetForegroundWindow(kPage);
  // The window last right-clicked is remembered: the one under the cursor
  // at the click, though the click is handled after a drag copy's wait.
  t0 = Now();
  Drag({10, 10}, {60, 12});
  sim.ui.SetCursor({5, 5}, 4660);
  sim.mouse_hook.Send(rt::kRightButtonUp, {5, 5});
  sim.ui.SetCursor({90, 90}, 9999);
  sim.clock.Wait(200);
  EXPECT_EQ(U("编辑框句柄").Text(), "4660");
  EXPECT_EQ(Story(t0), (Lines{"+50 Ctrl+C", "+50 clip 拖选"}));

  // Off outside the same-page mode: the backtick still pastes.
  sim.ui.Click("按钮66");
  EXPECT_EQ(U("按钮66").Text(), "反撇号键粘贴");
  EXPECT_FALSE(sim.mouse_hook.Installed("backtick"));
  EXPECT_EQ(sim.clipboard.Text(), "");
  t0 = PressBacktick();
  EXPECT_EQ(Story(t0), (Lines{"+50 Ctrl+V"}));
  // A mode button ends it.
  sim.ui.Click("按钮1");
  EXPECT_EQ(U("组合框1").Selection(), 0);
}

TEST_F(BacktickTest, AModeButtonOrTheFocusOnTheSamePageTextTurnsBacktickPasteOff) {
  sim.ui.Click("按钮66");
  sim.ui.Click("按钮102");
  EXPECT_EQ(U("按钮66").Text(), "反撇号键粘贴");
  EXPECT_FALSE(sim.mouse_hook.Installed("backtick"));
  EXPECT_EQ(U("组合框1").Selection(), 1);
  sim.ui.Click("按钮66");
  sim.ui.FocusUnit("编辑框25");
  EXPECT_EQ(U("按钮66").Text(), "反撇号键粘贴");
  EXPECT_EQ(U("按钮66").BackColour(), kButtonColour) << "caption and colour go off together";
  EXPECT_FALSE(sim.mouse_hook.Installed("backtick"));
  EXPECT_EQ(U("组合框1").Selection(), 4);
}

TEST_F(BacktickTest, ThePinItemsPinAndReleaseTheForegroundWindowNotTheOneUnderTheMouse) {
  sim.ui.SetForegroundWindow(777);
  sim.ui.SetCursor({5, 5}, 888);
  ImportMode("设置程序界面置顶");
  EXPECT_EQ(Balloons().back(), BalloonAt("导入方式", 20, 30, "●鼠标放在需要置顶的程序界面，按反撇号键置顶。"));
  PressBacktick();
  ImportMode("取消程序界面置顶");
  EXPECT_EQ(Balloons().back(), BalloonAt("导入方式", 20, 30, "●鼠标放在需要取消置顶的程序界面，按反撇号键取消置顶。"));
  PressBacktick();
  std::vector<std::string> pins;
  for (const auto& e : sim.log.Of(Action::kTopmost)) pins.push_back(e.detail);
  EXPECT_EQ(pins, (Lines{"777 on", "777 off"}));
  // Any other item is no pin request: the press copies.
  ImportMode("单次录入");
  const auto t0 = PressBacktick();
  EXPECT_EQ(Story(t0), (Lines{"+100 Ctrl+C"}));
  EXPECT_EQ(sim.log.Of(Action::kTopmost).size(), 2u);
}

std::vector<std::string> Calls(rt::sim::SimPlatform& sim) {
  std::vector<std::string> calls;
  for (const auto& e : sim.log.Of(Action::kAutomation)) calls.push_back(e.detail);
  return calls;
}

TEST_F(BacktickTest, TheExcelButtonStartsAWorkbookWhoseFirstCellWelcomesAndGoesOnPastAFailedCall) {
  // Right after the start there is no workbook: adding a sheet fails.
  sim.automation.Fail("Excel.Application.ActiveWorkbook");
  sim.ui.Click("按钮66");
  sim.ui.Click("按钮excel");
  EXPECT_EQ(Calls(sim), (Lines{"Excel.Application", "Excel.Application.ActiveWorkbook (failed)",
                               "Excel.Application.Workbooks", "Excel.Application.Workbooks.Add",
                               "Excel.Application.Workbooks.Add.ActiveSheet", "Excel.Application.Visible = True"}))
      << "no welcome while the click switches backtick paste off";
  EXPECT_EQ(U("组合框1").Selection(), 3);
  EXPECT_EQ(U("按钮66").Text(), "反撇号键粘贴");
  sim.log.Clear();
  sim.ui.Click("按钮excel");
  const Lines calls = Calls(sim);
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(Lines(calls.end() - 2, calls.end()),
            (Lines{"Excel.Application.Range(\"A1\")", "Excel.Application.Range(\"A1\").PasteSpecial()"}));
  EXPECT_EQ(sim.clipboard.Text(), "欢迎使用！");
}

TEST_F(BacktickTest, ExcelModeFillsTheChosenNumberOfColumnsThenBeginsTheNextRow) {
  sim.ui.Click("按钮excel");
  sim.automation.SetNumber("Excel.Application.ActiveSheet.UsedRange.Rows.Count", 4);
  auto pasted_cells = [&] {
    Lines cells;
    for (const std::string& call : Calls(sim))
      if (call.find(".PasteSpecial()") != std::string::npos) {
        const std::size_t open = call.find('"') + 1;
        cells.push_back(call.substr(open, call.find('"', open) - open));
      }
    sim.log.Clear();
    return cells;
  };
  pasted_cells();
  ChooseItem("组合框63", "3");
  Selected("格");
  for (int press = 0; press < 3; ++press) PressBacktick();
  // The sheet has grown by the row just filled.
  sim.automation.SetNumber("Excel.Application.ActiveSheet.UsedRange.Rows.Count", 5);
  PressBacktick();
  EXPECT_EQ(pasted_cells(), (Lines{"A5", "B5", "C5", "A6"}));
  // One column: every press begins a new row.
  sim.ui.Click("按钮6");
  ChooseItem("组合框63", "1");
  PressBacktick();
  PressBacktick();
  EXPECT_EQ(pasted_cells(), (Lines{"A6", "A6"}));
  ChooseItem("组合框63", "11");
  PressBacktick();
  EXPECT_TRUE(pasted_cells().empty());
}

TEST_F(BacktickTest, AnEmptyCopyReachesNoDocumentAndOnlyExcelWithSeveralColumnsWaitsAfterAPaste) {
  ChooseItem("组合框2", "200");
  Selected("");
  for (const char* button : {"按钮word", "按钮excel", "按钮104"}) {
    sim.ui.Click(button);
    sim.clipboard.SetText("");  // the Excel button leaves its welcome there
    sim.log.Clear();
    PressBacktick();
    sim.clock.Wait(500);
    EXPECT_TRUE(Calls(sim).empty()) << button;
  }
  EXPECT_EQ(U("编辑框25").Text(), "");
  // The copy wait follows each Excel paste only when a row has several columns.
  sim.ui.Click("按钮excel");
  Selected("格");
  const auto press_millis = [&](const char* columns) {
    ChooseItem("组合框63", columns);
    const std::int64_t t0 = sim.NowMillis();
    PressBacktick();
    return sim.NowMillis() - t0;
  };
  EXPECT_EQ(press_millis("3") - press_millis("1"), 200);
}

TEST_F(BacktickTest, WordModePastesAtTheSelectionThenStartsANewParagraphAndAMissingWordHarmsNothing) {
  sim.ui.Click("按钮word");
  EXPECT_EQ(U("组合框1").Selection(), 2);
  Selected("一段话");
  PressBacktick();
  EXPECT_EQ(Calls(sim), (Lines{"WORD.Application", "WORD.Application.Documents", "WORD.Application.Documents.Add",
                               "WORD.Application.Visible = True", "WORD.Application.Selection",
                               "WORD.Application.Selection.Paste()", "WORD.Application.Selection",
                               "WORD.Application.Selection.TypeText(\"\r\n\")"}));
  // Without Word: WPS Office's word processor, under its own name.
  sim.log.Clear();
  sim.automation.Uninstall("WORD.Application");
  sim.ui.Click("按钮word");
  PressBacktick();
  const Lines wps = Calls(sim);
  ASSERT_FALSE(wps.empty());
  EXPECT_EQ(wps.front(), "KWPS.Application");
  EXPECT_EQ(wps.back(), "KWPS.Application.Selection.TypeText(\"\r\n\")");
  // Neither: the button says so, and a press harms nothing.
  sim.log.Clear();
  sim.automation.Uninstall("KWPS.Application");
  sim.automation.Uninstall("WPS.Application");
  sim.ui.Click("按钮word");
  ASSERT_FALSE(Balloons().empty());
  EXPECT_EQ(Balloons().back(), BalloonAt("按钮word", 10, 30, "●没有找到Word或WPS文字，Word模式用不了！"));
  PressBacktick();
  EXPECT_TRUE(Calls(sim).empty());
  EXPECT_EQ(U("组合框1").Selection(), 2);
}

TEST_F(BacktickTest, ASlowOfficeProgramLeavesTheWindowRunningAndAHungOneIsGivenUpWithAHint) {
  // A cold start on a slow laptop takes 8 s: the window answers, the user
  // is told it is starting, and the program is used once it is there.
  sim.automation.Delay("WORD.Application", 8000);
  std::int64_t answered = -1;
  sim.clock.AfterMillis(3000, [&] {
    sim.ui.Click("按钮8");
    answered = sim.NowMillis();
  });
  const std::int64_t clicked_word = sim.NowMillis();
  sim.ui.Click("按钮word");
  EXPECT_EQ(answered - clicked_word, 3000);
  EXPECT_EQ(Balloons(), (Lines{BalloonAt("按钮word", 10, 30, "●正在启动Word，请稍候……")}));
  EXPECT_EQ(Calls(sim).back(), "WORD.Application.Visible = True");
  sim.ui.Click("按钮8");
  sim.automation.Delay("WORD.Application", 0);
  Selected("一段话");
  const std::string paste = "WORD.Application.Selection.Paste()";
  // Slow: the paste takes a second, and a click meanwhile is handled at once.
  sim.automation.Delay(paste, 1000);
  std::int64_t clicked = -1;
  sim.clock.AfterMillis(400, [&] {
    sim.ui.Click("按钮8");
    clicked = sim.NowMillis();
  });
  sim.log.Clear();
  auto t0 = PressBacktick();
  EXPECT_EQ(Calls(sim), (Lines{"WORD.Application.Selection", paste, "WORD.Application.Selection",
                               "WORD.Application.Selection.TypeText(\"\r\n\")"}));
  EXPECT_EQ(clicked - t0.millis, 400);
  EXPECT_EQ(U("按钮8").Text(), "开启快捷键");
  EXPECT_TRUE(sim.log.Of(Action::kBalloon).empty());

  // Hung: the paste is given up after the limit, the calls after it are not
  // even sent, and a hint says why; the next press works once it answers.
  sim.automation.Delay(paste, 8000);
  sim.log.Clear();
  t0 = PressBacktick();
  EXPECT_EQ(Calls(sim), (Lines{"WORD.Application.Selection", paste + " (given up)",
                               "WORD.Application.Selection (not sent)"}));
  const auto balloons = sim.log.Of(Action::kBalloon);
  ASSERT_EQ(balloons.size(), 1u);
  EXPECT_NE(balloons[0].detail.find("●Word没有响应，请等它恢复后再试！"), std::string::npos);
  EXPECT_TRUE(sim.automation.Hung());
  sim.log.Clear();
  PressBacktick();
  EXPECT_EQ(Calls(sim), (Lines{"WORD.Application.Selection (not sent)", "WORD.Application.Selection (not sent)"}));
  sim.clock.AdvanceTo((t0.millis + 9000) * 1000);
  EXPECT_FALSE(sim.automation.Hung());
  sim.automation.Delay(paste, 0);
  sim.log.Clear();
  PressBacktick();
  EXPECT_EQ(Calls(sim).at(1), paste);
}

}  // namespace
}  // namespace tovan
