#include "table/cell_cursor.h"
#include "tests/unit/app_fixture.h"

namespace tovan {
namespace {

using table::kPause;
using table::kSkip;

class BatchSettingsTest : public AppTest {
 protected:
  void SetUp() override {
    Start();
    AddRows({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"});
  }
  // The user clicks a cell of the column, then picks the value.
  void Apply(int column, const std::string& value) {
    sim.ui.ClickCell("超级列表框1", 0, column);
    rt::Unit& values = U("组合框63");
    for (int i = 0; i < values.ItemCount(); ++i)
      if (values.ItemText(i) == value) sim.ui.Choose("组合框63", i);
  }
  std::vector<int> Numbers(std::vector<int> rows) {
    for (int& r : rows) ++r;
    return rows;
  }
};

TEST_F(BatchSettingsTest, PausesGoEveryNRowsAndReplaceEarlierOnes) {
  app.Rows().SetCell(0, kPause, "暂停");
  Apply(kPause, "3");
  EXPECT_EQ(ColumnOf(kPause), (std::vector<std::string>{"", "", "暂停", "", "", "暂停", "", "", "暂停", ""}));
  Apply(kPause, "");
  EXPECT_EQ(ColumnOf(kPause), std::vector<std::string>(10, ""));
}

TEST_F(BatchSettingsTest, SkipCountsSetOrClearTheWholeColumn) {
  Apply(kSkip, "7");
  EXPECT_EQ(ColumnOf(kSkip), std::vector<std::string>(10, "7"));
  Apply(kSkip, "");
  EXPECT_EQ(ColumnOf(kSkip), std::vector<std::string>(10, ""));
}

TEST_F(BatchSettingsTest, CheckPatternsAreOddEvenOrEveryNthAndReachTheCheckStateFile) {
  Apply(table::kNumber, "1");
  EXPECT_EQ(Numbers(CheckedRows()), (std::vector<int>{1, 3, 5, 7, 9}));
  Apply(table::kNumber, "2");
  EXPECT_EQ(Numbers(CheckedRows()), (std::vector<int>{2, 4, 6, 8, 10}));
  Apply(table::kNumber, "4");
  EXPECT_EQ(Numbers(CheckedRows()), (std::vector<int>{4, 8}));
  EXPECT_EQ(sim.files.Read(sim.files.InRunDirectory("选择框.txt")), "4\r\n8\r\n");
  Apply(table::kNumber, "");
  EXPECT_TRUE(CheckedRows().empty());
}

TEST_F(BatchSettingsTest, AnyPickResetsTheCellCursorAndTheQueryEvenWithoutATarget) {
  U("编辑框hang3").SetText("D9");
  U("选择框4").SetChecked(false);
  U("编辑框查询").SetText("x");
  sim.ui.Choose("组合框63", 5);
  EXPECT_EQ(U("编辑框hang3").Text(), "D1");
  EXPECT_TRUE(U("选择框4").Checked());
  EXPECT_EQ(U("编辑框查询").Text(), "");
  EXPECT_EQ(ColumnOf(kSkip), std::vector<std::string>(10, ""));
  EXPECT_TRUE(CheckedRows().empty());
}

TEST_F(BatchSettingsTest, RestoreSetsEveryAddressAndFlag) {
  for (int i = 0; i < 10; ++i) {
    U(CellCursorBox(i)).SetText("Z9");
    U(CellCursorFlag(i)).SetChecked(false);
  }
  sim.ui.Click("按钮6");
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(U(CellCursorBox(i)).Text(), kCellCursorTexts[i]);
    EXPECT_TRUE(U(CellCursorFlag(i)).Checked());
  }
}

}  // namespace
}  // namespace tovan
