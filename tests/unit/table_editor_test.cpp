#include "shell/main_window_layout.h"
#include "tests/unit/app_fixture.h"

namespace tovan {
namespace {

using rt::sim::Action;
using table::kContent;
using table::kHotkey;
using table::kNumber;
using table::kPause;
using table::kSkip;

class TableEditorTest : public AppTest {
 protected:
  void SetUp() override { Start(); }
  rt::ListUnit& Table() { return sim.ui.List("超级列表框1"); }
};

TEST_F(TableEditorTest, DeletingKeepsTheNumbersConsecutive) {
  AddRows({"a", "", "b", "", "", "c"});
  Table().SetCurrentRow(0);
  sim.ui.Click("删除");
  EXPECT_EQ(ColumnOf(kContent), (std::vector<std::string>{"", "b", "", "", "c"}));
  EXPECT_EQ(ColumnOf(kNumber), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
  // The current row (the paste position) stays on its row: "c".
  Table().SetCurrentRow(4);
  sim.ui.Click("删除1");
  EXPECT_EQ(ColumnOf(kContent), (std::vector<std::string>{"b", "c"}));
  EXPECT_EQ(ColumnOf(kNumber), (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(Table().CurrentRow(), 1);
  // A blank current row gives its place to the row after it.
  AddRows({"", "d"});
  Table().SetCurrentRow(2);
  sim.ui.Click("删除1");
  EXPECT_EQ(ColumnOf(kContent), (std::vector<std::string>{"b", "c", "d"}));
  EXPECT_EQ(Table().CurrentRow(), 2);
  // Deleting the current row: the row that moves into its place is current.
  Table().SetCurrentRow(1);
  sim.ui.Click("删除");
  EXPECT_EQ(ColumnOf(kContent), (std::vector<std::string>{"b", "d"}));
  EXPECT_EQ(Table().CurrentRow(), 1);
  sim.ui.Click("删除");  // the last row: none moves into its place
  EXPECT_EQ(Table().CurrentRow(), -1);
  AddRows({"c"});
  Table().SetCurrentRow(-1);
  sim.ui.Click("删除");  // no current row: nothing happens
  EXPECT_EQ(app.Rows().RowCount(), 2u);
  sim.ui.Click("按钮2");
  EXPECT_EQ(app.Rows().RowCount(), 0u);
}

TEST_F(TableEditorTest, TheContentEditorCommitsWithoutBlankLines) {
  AddRows({"old", "keep"});
  sim.ui.DoubleClickCell("超级列表框1", 0, kContent);
  rt::Unit& editor = U("编辑框1009");
  EXPECT_TRUE(editor.Visible());
  EXPECT_EQ(editor.Text(), "old\r\n");
  EXPECT_EQ(sim.ui.FocusedUnit(), "编辑框1009");
  EXPECT_EQ(sim.log.Of(Action::kBalloon).back().detail.substr(sim.log.Of(Action::kBalloon).back().detail.find(' ') + 1),
            "●修改后，记得点击【内容】处完成确认！");
  editor.SetText("\r\nA\r\n\r\n\r\nB\r\n");
  sim.ui.ClickHeader("超级列表框1", kContent);
  EXPECT_EQ(app.Rows().Cell(0, kContent), "A\r\nB");
  EXPECT_EQ(app.Rows().Cell(1, kContent), "keep");
  EXPECT_FALSE(editor.Visible());
  // Typed, then another cell double-clicked without confirming: the text
  // is kept, whether the next editor is another column's or another row's.
  sim.ui.DoubleClickCell("超级列表框1", 0, kContent);
  editor.SetText("typed\r\n");
  sim.ui.DoubleClickCell("超级列表框1", 1, kSkip);
  sim.ui.ClickHeader("超级列表框1", kContent);
  EXPECT_EQ(app.Rows().Cell(0, kContent), "typed");
  sim.ui.DoubleClickCell("超级列表框1", 0, kContent);
  editor.SetText("again\r\n");
  sim.ui.DoubleClickCell("超级列表框1", 1, kContent);
  EXPECT_EQ(app.Rows().Cell(0, kContent), "again");
  EXPECT_EQ(editor.Text(), "keep\r\n");
}

TEST_F(TableEditorTest, FilesDroppedOnTheContentEditorAddOnePathPerLine) {
  AddRows({"图文"});
  sim.ui.DoubleClickCell("超级列表框1", 0, kContent);
  sim.ui.DropFiles("编辑框1009", {"C:\\图片\\a.png", "D:\\b c.jpg"});
  EXPECT_EQ(U("编辑框1009").Text(), "图文\r\nC:\\图片\\a.png\r\nD:\\b c.jpg\r\n");
  sim.ui.ClickHeader("超级列表框1", kContent);
  EXPECT_EQ(app.Rows().Cell(0, kContent), "图文\r\nC:\\图片\\a.png\r\nD:\\b c.jpg");
}

TEST_F(TableEditorTest, TheContentHeaderWithTheEditorClosedChangesNothing) {
  AddRows({"a", "b", "c"});
  sim.ui.DoubleClickCell("超级列表框1", 1, kContent);
  sim.ui.ClickHeader("超级列表框1", kContent);  // commits "b" into row 2 and closes the editor
  Table().SetCurrentRow(0);
  sim.ui.Click("删除");                          // "c" is now row 2
  sim.ui.ClickHeader("超级列表框1", kContent);  // nothing open: nothing written
  EXPECT_EQ(ColumnOf(kContent), (std::vector<std::string>{"b", "c"}));
}

TEST_F(TableEditorTest, TheContentEditorLiesOverItsCell) {
  AddRows({"a", "b", "c"});
  sim.ui.DoubleClickCell("超级列表框1", 2, kContent);
  const rt::Rect editor = U("编辑框1009").Bounds();
  const rt::Rect table = Table().Bounds();
  EXPECT_EQ(editor.x, table.x + 0 + (53 - 16));
  EXPECT_EQ(editor.y, table.y + Table().RowOrigin(2).y + 1);
  EXPECT_EQ(editor.width, 180 + 80);
}

TEST_F(TableEditorTest, APauseCellBecomesPauseWhenTheEditorLosesFocus) {
  AddRows({"a", "b"});
  sim.ui.DoubleClickCell("超级列表框1", 1, kPause);
  EXPECT_EQ(U("编辑框1008").Text(), "暂停");
  U("编辑框查询").Focus();
  EXPECT_EQ(app.Rows().Cell(1, kPause), "暂停");
  EXPECT_FALSE(U("编辑框1008").Visible());
  sim.ui.DoubleClickCell("超级列表框1", 0, kSkip);
  sim.ui.TypeText("编辑框1008", "3");
  U("编辑框查询").Focus();
  EXPECT_EQ(app.Rows().Cell(0, kSkip), "3");
}

TEST_F(TableEditorTest, OnlyTheFirstFiftyRowsOpenTheHotkeyEditor) {
  std::vector<std::string> contents(60, "x");
  AddRows(contents);
  Table().EnsureVisible(50);
  sim.ui.DoubleClickCell("超级列表框1", 50, kHotkey);
  EXPECT_FALSE(U("编辑框1007").Visible());
  Table().EnsureVisible(49);
  sim.ui.DoubleClickCell("超级列表框1", 49, kHotkey);
  EXPECT_TRUE(U("编辑框1007").Visible());
  sim.ui.TypeText("编辑框1007", "Ctrl+1");
  sim.ui.DoubleClick("编辑框1007");
  EXPECT_EQ(U("编辑框1007").Text(), "");
  sim.ui.TypeText("编辑框1007", "Ctrl+2");
  U("编辑框查询").Focus();
  EXPECT_EQ(app.Rows().Cell(49, kHotkey), "Ctrl+2");
}

TEST_F(TableEditorTest, ShiftRangesRunFromTheAnchorInBothDirections) {
  AddRows(std::vector<std::string>(12, "x"));
  sim.keys.Hold(rt::kVkShift, true);
  sim.ui.ToggleCheck("超级列表框1", 2);  // the first anchor is row 1 (index 0)
  EXPECT_EQ(CheckedRows(), (std::vector<int>{0, 1, 2}));
  sim.keys.Hold(rt::kVkShift, false);
  app.Rows().SetAllChecked(false);
  sim.ui.ToggleCheck("超级列表框1", 9);   // anchor on row 10 (index 9)
  sim.keys.Hold(rt::kVkShift, true);
  sim.ui.ToggleCheck("超级列表框1", 2);   // row 3: rows 4..10 follow its state
  EXPECT_EQ(CheckedRows(), (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 9}));
  sim.ui.ToggleCheck("超级列表框1", 9);   // anchor row 3, Shift-click row 10 (unchecks): rows 3..9 follow
  EXPECT_EQ(CheckedRows(), (std::vector<int>{}));
  EXPECT_EQ(app.Table().CheckAnchor(), 9);
}

TEST_F(TableEditorTest, AClickMadeWithShiftIsAShiftClickEvenIfTheKeyIsUpByNow) {
  AddRows(std::vector<std::string>(5, "x"));
  sim.ui.ToggleCheck("超级列表框1", 3, rt::kShift);
  EXPECT_EQ(CheckedRows(), (std::vector<int>{0, 1, 2, 3}));
}

TEST_F(TableEditorTest, TheNumberHeaderChecksAndClearsEveryRow) {
  AddRows({"a", "b", "c"});
  sim.ui.ClickHeader("超级列表框1", kNumber);
  EXPECT_EQ(CheckedRows(), (std::vector<int>{0, 1, 2}));
  EXPECT_TRUE(U("全选项").Checked());
  sim.ui.ClickHeader("超级列表框1", kNumber);
  EXPECT_EQ(CheckedRows(), (std::vector<int>{}));
}

TEST_F(TableEditorTest, ColumnHeadersClearOnlyOnYes) {
  AddRows({"a", "b"});
  app.Rows().SetCell(0, kSkip, "2");
  app.Rows().SetCell(1, kPause, "暂停");
  sim.ui.QueueAnswers({rt::Answer::kNo, rt::Answer::kYes});
  sim.ui.ClickHeader("超级列表框1", kSkip);
  EXPECT_EQ(app.Rows().Cell(0, kSkip), "2");
  sim.ui.ClickHeader("超级列表框1", kPause);
  EXPECT_EQ(app.Rows().Cell(1, kPause), "");
  EXPECT_EQ(sim.log.Of(Action::kQuestion).front().detail, "温馨提示|确定删除【跳格列】？");
}

TEST_F(TableEditorTest, FindButtonAddsMatchesAndEnterReplacesTheChecks) {
  AddRows({"xaby", "xAby", "other", "ab"});
  app.Rows().SetChecked(2, true);
  sim.ui.TypeText("编辑框查询", "ab");
  sim.ui.Click("按钮9");
  EXPECT_EQ(CheckedRows(), (std::vector<int>{0, 2, 3}));
  sim.ui.KeyDown("编辑框查询", rt::kVkReturn);
  EXPECT_EQ(CheckedRows(), (std::vector<int>{0, 3}));
}

TEST_F(TableEditorTest, EnterInAnEmptyQueryChecksAlternateRows) {
  AddRows(std::vector<std::string>(7, "x"));
  app.Rows().SetChecked(1, true);
  app.Rows().SetChecked(4, true);
  sim.ui.KeyDown("编辑框查询", rt::kVkReturn);
  EXPECT_EQ(CheckedRows(), (std::vector<int>{1, 3, 5}));
  app.Rows().SetChecked(0, true);
  sim.ui.KeyDown("编辑框查询", rt::kVkReturn);
  EXPECT_EQ(CheckedRows(), (std::vector<int>{0, 2, 4, 6}));
  app.Rows().SetAllChecked(false);
  sim.ui.KeyDown("编辑框查询", rt::kVkReturn);
  EXPECT_EQ(CheckedRows(), (std::vector<int>{}));
}

TEST_F(TableEditorTest, ClickingTheSearchBoxPreparesTheCheckedOrder) {
  AddRows({"a", "b"});
  app.Rows().SetChecked(0, true);
  sim.ui.MouseDown("编辑框查询");
  EXPECT_EQ(CheckedRows(), (std::vector<int>{}));
  EXPECT_EQ(app.CopyMode(), 1);
  EXPECT_EQ(U("按钮102").BackColour(), shell::kHighlightColour);
  EXPECT_EQ(U("按钮1").BackColour(), shell::kButtonColour);
  EXPECT_EQ(U("跳格暂停").Text(), "0");
}

TEST_F(TableEditorTest, ClickingACellShowsTheBatchHintForItsColumn) {
  AddRows({"a"});
  sim.ui.ClickCell("超级列表框1", 0, kSkip);
  EXPECT_EQ(U("跳格暂停").Text(), "2");
  const std::string balloon = sim.log.Of(Action::kBalloon).back().detail;
  const rt::Rect window = U("窗口").Bounds();
  EXPECT_EQ(balloon, std::to_string(window.x + 387 + 16) + "," + std::to_string(window.y + 88 + 30) +
                         " ●批量设置【跳格数】！");
  EXPECT_EQ(Table().CurrentRow(), 0);
}

}  // namespace
}  // namespace tovan
