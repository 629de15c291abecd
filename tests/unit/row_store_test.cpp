#include "table/row_store.h"

#include <gtest/gtest.h>

namespace tovan::table {
namespace {

std::vector<std::string> Column(const RowStore& rows, std::size_t column) {
  std::vector<std::string> out;
  for (std::size_t r = 0; r < rows.RowCount(); ++r) out.emplace_back(rows.Cell(r, column));
  return out;
}

TEST(RowStore, KeepsFiveIndependentCellsPerRow) {
  RowStore rows;
  EXPECT_EQ(rows.Append("1", "张三\r\nC:\\a.png"), 0u);
  rows.SetCell(0, kSkip, "3");
  rows.SetCell(0, kHotkey, "Ctrl+Shift+Alt+F5");
  rows.SetCell(0, kPause, "暂停");
  rows.SetCell(0, kSkip, "12");  // rewriting a middle cell keeps the others
  EXPECT_EQ(rows.Cell(0, kNumber), "1");
  EXPECT_EQ(rows.Cell(0, kContent), "张三\r\nC:\\a.png");
  EXPECT_EQ(rows.Cell(0, kSkip), "12");
  EXPECT_EQ(rows.Cell(0, kPause), "暂停");
  EXPECT_EQ(rows.Cell(0, kHotkey), "Ctrl+Shift+Alt+F5");
  rows.SetCell(0, kContent, "");
  EXPECT_EQ(rows.Cell(0, kHotkey), "Ctrl+Shift+Alt+F5");
  EXPECT_EQ(rows.Cell(5, kContent), "");  // no such row
  EXPECT_EQ(rows.Cell(0, 9), "");          // no such column
  rows.SetCell(7, kContent, "ignored");
  EXPECT_EQ(rows.RowCount(), 1u);
}

TEST(RowStore, ABytePastUtf8CannotShiftTheCells) {
  RowStore rows;
  rows.Append("1", "a\xFF" "b");
  rows.SetCell(0, kSkip, "2\xFF" "3");
  EXPECT_EQ(rows.Cell(0, kContent), "a");
  EXPECT_EQ(rows.Cell(0, kSkip), "2");
  EXPECT_EQ(rows.Cell(0, kPause), "");
}

TEST(RowStore, NumbersRunWithoutGapsAfterEveryDeletion) {
  RowStore rows;
  for (const char* text : {"a", "", "", "b", "", "c", ""}) rows.Append("0", text);
  rows.SetChecked(3, true);
  rows.Renumber();
  EXPECT_EQ(Column(rows, kNumber), (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7"}));
  EXPECT_EQ(rows.DeleteBlankRows(), 4u);
  EXPECT_EQ(Column(rows, kContent), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(Column(rows, kNumber), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_TRUE(rows.Checked(1));  // the check state moves with its row
  rows.Delete(0);
  rows.Renumber();
  EXPECT_EQ(Column(rows, kNumber), (std::vector<std::string>{"1", "2"}));
  rows.Delete(9);  // nothing there
  EXPECT_EQ(rows.RowCount(), 2u);
}

TEST(RowStore, CellsRewrittenLongerAndShorterManyTimesKeepEveryRowIntact) {
  // Enough growth that the texts left behind are gathered up more than once.
  RowStore rows;
  constexpr std::size_t kRows = 2'000;
  for (std::size_t i = 0; i < kRows; ++i) rows.Append(std::to_string(i + 1), "row" + std::to_string(i));
  rows.SetChecked(7, true);
  for (int pass = 0; pass < 40; ++pass) {
    const std::string long_text(1'000 + 37 * pass, static_cast<char>('a' + pass % 26));
    for (std::size_t i = 0; i < kRows; ++i) {
      rows.SetCell(i, kPause, pass % 2 ? "暂停" : "");
      rows.SetCell(i, kHotkey, long_text);
      rows.SetExtras(i, std::to_string(pass), rows.Cell(i, kPause), rows.Cell(i, kHotkey));
    }
    ASSERT_EQ(rows.Cell(kRows - 1, kHotkey), long_text) << pass;
  }
  for (std::size_t i = 0; i < kRows; ++i) {
    ASSERT_EQ(rows.Cell(i, kContent), "row" + std::to_string(i));
    ASSERT_EQ(rows.Cell(i, kSkip), "39");
    ASSERT_EQ(rows.Cell(i, kPause), "暂停");
    ASSERT_EQ(rows.Cell(i, kHotkey).size(), 1'000u + 37 * 39);
    ASSERT_EQ(rows.Cell(i, kNumber), std::to_string(i + 1));
  }
  EXPECT_TRUE(rows.Checked(7));
  EXPECT_FALSE(rows.Checked(8));
}

TEST(RowStore, PartsBuiltSideBySideGiveEveryRowInOrderWhenACountWasWrong) {
  // Parts expect counts taken beforehand; a file that changed meanwhile
  // gives more or fewer. Every row still arrives, once, in part order.
  const auto build = [](std::vector<std::size_t> expected, std::vector<std::size_t> got) {
    RowStore::Parts parts(expected);
    for (std::size_t part = 0; part < got.size(); ++part)
      for (std::size_t i = 0; i < got[part]; ++i)
        parts.Add(part, std::to_string(part) + "." + std::to_string(i), std::to_string(i % 3));
    RowStore rows;
    rows.Append("1", "before");
    rows.Adopt(std::move(parts).Join());
    return Column(rows, kContent);
  };
  using Rows = std::vector<std::string>;
  EXPECT_EQ(build({2, 2}, {2, 2}), (Rows{"before", "0.0", "0.1", "1.0", "1.1"}));
  EXPECT_EQ(build({3, 2}, {1, 3}), (Rows{"before", "0.0", "1.0", "1.1", "1.2"}));
  EXPECT_EQ(build({1, 2}, {3, 0}), (Rows{"before", "0.0", "0.1", "0.2"}));
  EXPECT_EQ(build({1, 1, 1}, {2, 0, 2}), (Rows{"before", "0.0", "0.1", "2.0", "2.1"}));
  EXPECT_EQ(build({0, 0}, {0, 0}), (Rows{"before"}));
}

TEST(RowStore, FindsContentCaseSensitively) {
  RowStore rows;
  for (const char* text : {"xaby", "xAby", "ab", "李ab四"}) rows.Append("0", text);
  EXPECT_EQ(rows.FindContent("ab"), (std::vector<std::size_t>{0, 2, 3}));
  EXPECT_TRUE(rows.FindContent("").empty());
}

TEST(RowStore, ClearsOneColumnAndChecksAll) {
  RowStore rows;
  for (int i = 0; i < 3; ++i) {
    rows.Append("0", "x");
    rows.SetCell(i, kSkip, "2");
    rows.SetCell(i, kPause, "暂停");
  }
  rows.ClearColumn(kSkip);
  EXPECT_EQ(Column(rows, kSkip), (std::vector<std::string>{"", "", ""}));
  EXPECT_EQ(Column(rows, kPause), (std::vector<std::string>{"暂停", "暂停", "暂停"}));
  rows.SetAllChecked(true);
  EXPECT_TRUE(rows.Checked(0) && rows.Checked(2));
}

}  // namespace
}  // namespace tovan::table
