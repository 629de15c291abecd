#include "runtime/gbk.h"
#include "runtime/sim/sim_peers.h"
#include "table/import_cut.h"
#include "table/item_list.h"
#include "tests/unit/app_fixture.h"

namespace tovan {
namespace {

using table::kContent;
using table::kNumber;

class ImportTest : public AppTest {
 protected:
  void SetUp() override { Start(); }
  // Drops a file holding these bytes on the table in the given import mode.
  void Drop(const std::string& mode, const std::string& bytes, const std::string& name = "drop.txt") {
    ChooseMode(mode);
    const std::string path = sim.files.InRunDirectory(name);
    sim.files.Write(path, bytes);
    sim.ui.DropFiles("超级列表框1", {path});
  }
  void ChooseMode(const std::string& mode) {
    rt::Unit& modes = U("导入方式");
    for (int i = 0; i < modes.ItemCount(); ++i)
      if (modes.ItemText(i) == mode) sim.ui.Choose("导入方式", i);
  }
  std::vector<std::string> Contents() { return ColumnOf(kContent); }
  std::vector<std::string> Numbers() { return ColumnOf(kNumber); }
};

TEST_F(ImportTest, ACustomSeparatorIsConsumedAndALineBreakAfterItStartsTheNextRow) {
  ChooseMode("自定义分割符录入");
  sim.ui.TypeText("分割符", ",");
  const std::string path = sim.files.InRunDirectory("a.txt");
  sim.files.Write(path, "a,b\r\nc");
  sim.ui.DropFiles("超级列表框1", {path});
  EXPECT_EQ(Contents(), (std::vector<std::string>{"a", "b\r\nc"}));
  sim.files.Write(path, "x,\r\ny,,z,");
  sim.ui.DropFiles("超级列表框1", {path});
  EXPECT_EQ(Contents(), (std::vector<std::string>{"a", "b\r\nc", "x", "\r\ny", "z"}));
  EXPECT_EQ(Numbers(), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
}

TEST_F(ImportTest, AnEmptySeparatorSplitsAtLineBreaks) {
  Drop("自定义分割符录入", "one\r\ntwo\r\n\r\nthree");
  EXPECT_EQ(Contents(), (std::vector<std::string>{"one", "two", "three"}));
}

TEST_F(ImportTest, ChoosingTheSeparatorModeEmptiesTheSeparatorBox) {
  U("分割符").SetText("|");
  ChooseMode("Excel制表符录入");
  EXPECT_EQ(U("分割符").Text(), "|");
  ChooseMode("自定义分割符录入");
  EXPECT_EQ(U("分割符").Text(), "");
}

TEST_F(ImportTest, SpreadsheetCellsBecomeRowsInReadingOrderWithoutEmptyCells) {
  Drop("Excel制表符录入", "x\ty\r\n\tz\r\n");
  EXPECT_EQ(Contents(), (std::vector<std::string>{"x", "y", "z"}));
  EXPECT_EQ(Numbers(), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(sim.clipboard.Text(), "");
  Drop("空格分割录入", "a  b\r\nc");
  EXPECT_EQ(Contents(), (std::vector<std::string>{"x", "y", "z", "a", "b", "c"}));
}

TEST_F(ImportTest, ASpreadsheetDropAlsoRemovesBlankRowsThatWereThereBefore) {
  AddRows({"keep", "", "also"});
  Drop("Excel制表符录入", "n1\tn2");
  EXPECT_EQ(Contents(), (std::vector<std::string>{"keep", "also", "n1", "n2"}));
  EXPECT_EQ(Numbers(), (std::vector<std::string>{"1", "2", "3", "4"}));
}

TEST_F(ImportTest, SingleEntryKeepsTheWholeTextEvenWhenEmpty) {
  Drop("单次录入", rt::ToGbk("张三\r\n\r\n李四\r\n").bytes);
  Drop("单次录入", "");
  Drop("单次录入", "x", "missing-is-not-this.txt");
  sim.ui.DropFiles("超级列表框1", {sim.files.InRunDirectory("no such file.txt")});
  EXPECT_EQ(Contents(), (std::vector<std::string>{"张三\r\n\r\n李四\r\n", "", "x", ""}));
  EXPECT_EQ(Numbers(), (std::vector<std::string>{"1", "2", "3", "4"}));
}

TEST_F(ImportTest, DroppedFilesAppendAfterTheRowsThereInDropOrder) {
  AddRows({"r1", "r2", "r3", "r4"});
  ChooseMode("Excel制表符录入");
  sim.files.Write(sim.files.InRunDirectory("1.txt"), "a\tb");
  sim.files.Write(sim.files.InRunDirectory("2.txt"), "c");
  sim.ui.DropFiles("超级列表框1", {sim.files.InRunDirectory("1.txt"), sim.files.InRunDirectory("2.txt")});
  EXPECT_EQ(Contents(), (std::vector<std::string>{"r1", "r2", "r3", "r4", "a", "b", "c"}));
  EXPECT_EQ(Numbers().back(), "7");
}

TEST_F(ImportTest, ADropIntoAnEmptyTableStaysAtTheTopAndALaterOneShowsItsLastRow) {
  std::string lines;
  for (int i = 0; i < 100; ++i) lines += "x" + std::to_string(i) + "\r\n";
  Drop("自定义分割符录入", lines);
  rt::ListUnit& table = sim.ui.List("超级列表框1");
  ASSERT_EQ(app.Rows().RowCount(), 100u);
  EXPECT_EQ(table.RowOrigin(0).y, rt::sim::SimListPeer::kHeaderHeight);
  Drop("自定义分割符录入", lines, "more.txt");
  ASSERT_EQ(app.Rows().RowCount(), 200u);
  const int last_top = table.RowOrigin(199).y;
  EXPECT_GT(last_top, rt::sim::SimListPeer::kHeaderHeight - 1);
  EXPECT_LT(last_top, U("超级列表框1").Bounds().height);
}

TEST_F(ImportTest, ALargeSpreadsheetFileCutInHalvesGivesTheRowsOfOneCut) {
  AddRows({"before"});
  std::string text;
  for (int line = 0; text.size() < (3 << 19); ++line)
    text += "值" + std::to_string(line) + "\t\t" + (line % 3 ? "x y" : "") + "\tend\r\n";
  table::RowStore expected;
  expected.Append("1", "before");
  expected.Adopt(table::CutIntoRows(table::ImportMode::kTabs, text, ""));
  // The same text saved by today's Notepad (UTF-8, no mark) gives the same rows.
  for (const std::string& bytes : {rt::ToGbk(text).bytes, text}) {
    app.Rows().TakeAll();
    AddRows({"before"});
    Drop("Excel制表符录入", bytes, "big.txt");
    ASSERT_EQ(app.Rows().RowCount(), expected.RowCount());
    for (std::size_t row = 0; row < expected.RowCount(); ++row)
      ASSERT_EQ(app.Rows().Cells(row), expected.Cells(row)) << row;
  }
}

TEST_F(ImportTest, TheEmptyAndThePinningItemsImportNothing) {
  Drop("", "text");
  Drop("设置程序界面置顶", "text");
  EXPECT_TRUE(Contents().empty());
}

TEST_F(ImportTest, FilesAreGbkUnlessAByteOrderMarkOrValidUtf8SaysUnicode) {
  Drop("Excel制表符录入", rt::ToGbk("张三\t李四").bytes);
  // What Notepad saves since Windows 10: UTF-8 without a mark.
  Drop("Excel制表符录入", "张三\r\n李四\r\n王五");
  Drop("Excel制表符录入", "\xEF\xBB\xBF" "王五\t😀");
  // "赵六\tok" as UTF-16 LE and BE, as spreadsheet programs write "Unicode text".
  Drop("Excel制表符录入", std::string("\xFF\xFE\x75\x8D\x6D\x51\x09\x00o\x00k\x00", 12));
  Drop("Excel制表符录入", std::string("\xFE\xFF\x8D\x75\x51\x6D\x00\x09\x00o\x00k", 12));
  EXPECT_EQ(Contents(),
            (std::vector<std::string>{"张三", "李四", "张三", "李四", "王五", "王五", "😀", "赵六", "ok", "赵六", "ok"}));
}

TEST_F(ImportTest, InvalidBytesBecomeReplacementCharactersNotCrashes) {
  Drop("单次录入", "a\xFF" "b\x81");
  Drop("单次录入", std::string("\xFF\xFE\x00\xD8x", 5));  // a lone surrogate, then half a character
  EXPECT_EQ(Contents(), (std::vector<std::string>{"a\xEF\xBF\xBD" "b\xEF\xBF\xBD", "\xEF\xBF\xBD\xEF\xBF\xBD"}));
}

TEST_F(ImportTest, ADropWhileASlotLoadsOrAnotherFileImportsIsAddedAfterItNotMixedInOrLost) {
  sim.files.Write(sim.files.InRunDirectory("保存B.txt"), "s1\xA1\xEFs2\xA1\xEF");
  sim.files.Write(sim.files.InRunDirectory("d.txt"), "dropped");
  ChooseMode("单次录入");
  sim.worker.SetJobMillis(10);
  sim.clock.AfterMillis(0, [&] {
    sim.clock.AfterMillis(5, [&] { sim.ui.DropFiles("超级列表框1", {sim.files.InRunDirectory("d.txt")}); });
    sim.ui.Click("打开B");
  });
  sim.clock.Wait(1000);
  EXPECT_EQ(Contents(), (std::vector<std::string>{"s1", "s2", "dropped"}));
  // Two files dropped one after the other while the first one's import
  // still waits: both, in their order.
  sim.files.Write(sim.files.InRunDirectory("t1.txt"), "x\ty");
  sim.files.Write(sim.files.InRunDirectory("t2.txt"), "z");
  ChooseMode("Excel制表符录入");
  sim.clock.AfterMillis(20, [&] { sim.ui.DropFiles("超级列表框1", {sim.files.InRunDirectory("t2.txt")}); });
  sim.ui.DropFiles("超级列表框1", {sim.files.InRunDirectory("t1.txt")});
  sim.clock.Wait(1000);
  EXPECT_EQ(Contents(), (std::vector<std::string>{"s1", "s2", "dropped", "x", "y", "z"}));
}

TEST(ItemList, EachLineBecomesPictureOrTextItemsInExtensionOrder) {
  using Items = std::vector<std::pair<std::string_view, int>>;
  EXPECT_EQ(table::ContentItems("C:\\p\\a.JPG"), (Items{{"C:\\p\\a.JPG", 1}}));
  EXPECT_EQ(table::ContentItems("clip.mp4"), (Items{{"clip.mp4", 1}, {"clip.mp4", 0}}));
  EXPECT_EQ(table::ContentItems("plain words\r\nx.png.gif"),
            (Items{{"plain words", 0}, {"x.png.gif", 1}, {"x.png.gif", 1}}));
}

TEST_F(ImportTest, TheItemListFollowsTheCurrentRowOnlyWhilePictureModeIsOn) {
  AddRows({"a.bmp\r\ntext", "other"});
  sim.ui.List("超级列表框1").SetCurrentRow(0);
  EXPECT_EQ(U("列表框1").ItemCount(), 0);
  U("图文选择").SetChecked(true);
  sim.ui.List("超级列表框1").SetCurrentRow(1);
  sim.ui.List("超级列表框1").SetCurrentRow(0);
  rt::Unit& items = U("列表框1");
  ASSERT_EQ(items.ItemCount(), 2);
  EXPECT_EQ(items.ItemText(0), "a.bmp");
  EXPECT_EQ(items.ItemValue(0), 1);
  EXPECT_EQ(items.ItemText(1), "text");
  EXPECT_EQ(items.ItemValue(1), 0);
}

TEST_F(ImportTest, TheSeparatorBoxHintsAndClearsOnDoubleClick) {
  U("分割符").SetText(";");
  sim.ui.MouseDown("分割符");
  const auto balloons = sim.log.Of(rt::sim::Action::kBalloon);
  ASSERT_FALSE(balloons.empty());
  const rt::Rect box = U("分割符").Bounds();
  const rt::Rect window = U("窗口").Bounds();
  EXPECT_EQ(balloons.back().detail, std::to_string(window.x + box.x + 30) + "," +
                                        std::to_string(window.y + box.y + 30) + " ●设置分割字符");
  sim.ui.DoubleClick("分割符");
  EXPECT_EQ(U("分割符").Text(), "");
}

}  // namespace
}  // namespace tovan
