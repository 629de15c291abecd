#include "runtime/gbk.h"
#include "table/recording_files.h"
#include "table/same_page_file.h"
#include "tests/unit/app_fixture.h"

namespace tovan {
namespace {

class RecordingFilesTest : public AppTest {
 protected:
  void SetUp() override { Start(); }
  std::string File(const std::string& name) { return sim.files.Read(sim.files.InRunDirectory(name)); }
};

TEST_F(RecordingFilesTest, TheTickedSlotSavesAndReadsBackTheEventList) {
  sim.ui.Click("选择框96");
  app.Events().Append({"按键", "A", "按下", "65", "3", "", "", "30"});
  app.Events().Append({"鼠标", "左键按下", "", "100", "200", "513", "", "0"});
  sim.ui.Click("按钮59");
  const std::string line1 = rt::ToGbk("按键←→A←→按下←→65←→3←→←→←→30←→\r\n").bytes;
  EXPECT_EQ(File("数据3.txt"), line1 + rt::ToGbk("鼠标←→左键按下←→←→100←→200←→513←→←→0←→\r\n").bytes);
  app.Events().Clear();
  sim.ui.Click("按钮58");
  ASSERT_EQ(app.Events().RowCount(), 2u);
  EXPECT_EQ(app.Events().At(0), (table::EventList::Row{"按键", "A", "按下", "65", "3", "", "", "30"}));
  EXPECT_EQ(app.Events().At(1)[1], "左键按下");
  // A recording file held for good is said, and the old file stays.
  sim.files.Refuse(sim.files.InRunDirectory("数据3.txt"));
  app.Events().Clear();
  sim.ui.Click("按钮59");
  EXPECT_EQ(File("数据3.txt"), line1 + rt::ToGbk("鼠标←→左键按下←→←→100←→200←→513←→←→0←→\r\n").bytes);
  EXPECT_EQ(Balloons(), (std::vector<std::string>{BalloonAt("按钮59", 10, 30, "●数据3没能写入：文件被其他程序占用，请稍后再保存！")}));
}

TEST_F(RecordingFilesTest, TickingASlotUnticksTheOthersAndLoadsItsFile) {
  sim.files.Write(sim.files.InRunDirectory("数据2.txt"), rt::ToGbk("按键←→B←→\r\n").bytes);
  sim.ui.Click("选择框94");
  app.Events().Append({"stale"});
  sim.ui.Click("选择框95");
  EXPECT_FALSE(U("选择框94").Checked());
  ASSERT_EQ(app.Events().RowCount(), 1u);
  EXPECT_EQ(app.Events().Cell(0, 1), "B");
  sim.ui.Click("选择框98");  // no file: the list is emptied
  EXPECT_EQ(app.Events().RowCount(), 0u);
  sim.ui.Click("按钮18");
  EXPECT_EQ(sim.log.Of(rt::sim::Action::kShellOpen).back().detail, "C:\\Tovan\\数据5.txt");
}

TEST(RecordingRows, HandEditedFilesLoadWithoutSurprises) {
  const auto rows = table::RecordingRows("a←→b\r\n\r\n1←→2←→3←→4←→5←→6←→7←→8←→9←→\r\n");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0][1], "b");  // a last cell without its separator
  EXPECT_EQ(rows[1][0], "");   // a blank line in the middle is an empty row
  EXPECT_EQ(rows[2][7], "8");  // cells past the eighth are dropped
}

TEST(SamePageFileName, NamesThatCouldLeaveTheFolderOrFailAreRefused) {
  EXPECT_EQ(table::SamePageFileName("订单 2024"), "订单 2024.txt");
  for (const char* bad : {"", "..\\x", "a/b", "C:x", "a*", "what?", "a\"b", "<a>", "a|b", "tab\there", "CON", "con",
                          "nul.txt", "COM1", "lpt9", "con. ", "con ", "bad\xFF"})
    EXPECT_EQ(table::SamePageFileName(bad), std::nullopt) << bad;
  // The line as it is: before ".txt", trailing dots and spaces are stored,
  // so "报告." and "报告" are two files, not one overwriting the other.
  EXPECT_EQ(table::SamePageFileName("报告."), "报告..txt");
  EXPECT_EQ(table::SamePageFileName("客户清单. "), "客户清单. .txt");
  EXPECT_EQ(table::SamePageFileName(".."), "...txt");
  EXPECT_EQ(table::SamePageFileName("COM10"), "COM10.txt");
  // The name with ".txt.tmp~" (the file first written) within 255 units.
  EXPECT_EQ(table::SamePageFileName(std::string(246, 'a')), std::string(246, 'a') + ".txt");
  EXPECT_EQ(table::SamePageFileName(std::string(247, 'a')), std::nullopt);
}

TEST_F(RecordingFilesTest, TheSamePageTextIsSavedInItsFolderNamedByItsFirstLine) {
  U("按钮104").SetText("同页保存");
  U("编辑框25").SetText("客户清单\r\n张三\r\n李四");
  sim.ui.Click("按钮104");
  EXPECT_EQ(File("同页粘贴\\客户清单.txt"), rt::ToGbk("客户清单\r\n张三\r\n李四").bytes);
  EXPECT_EQ(U("编辑框70").Text(), "客户清单");
  EXPECT_EQ(sim.log.Of(rt::sim::Action::kShellOpen).back().detail, "C:\\Tovan\\同页粘贴");
  EXPECT_EQ(sim.clipboard.Text(), "");
  // "客户清单." is a file of its own; held for good, it is said.
  sim.files.Refuse(sim.files.InRunDirectory("同页粘贴\\客户清单..txt"));
  U("编辑框25").SetText("客户清单.\r\n王五");
  sim.ui.Click("按钮104");
  EXPECT_EQ(File("同页粘贴\\客户清单.txt"), rt::ToGbk("客户清单\r\n张三\r\n李四").bytes);
  EXPECT_EQ(Balloons(),
            (std::vector<std::string>{BalloonAt("按钮104", 10, 30, "●客户清单..txt没能写入：文件被其他程序占用，请稍后再保存！")}));
}

TEST_F(RecordingFilesTest, ASamePageNameThatWouldEscapeWritesNothingButStillOpensTheFolder) {
  U("按钮104").SetText("同页保存");
  U("编辑框25").SetText("..\\..\\保存A\r\ntext");
  sim.ui.Click("按钮104");
  EXPECT_TRUE(sim.log.Of(rt::sim::Action::kFileWritten).empty());
  ASSERT_FALSE(sim.log.Of(rt::sim::Action::kBalloon).empty());
  EXPECT_NE(sim.log.Of(rt::sim::Action::kBalloon).back().detail.find("●第一行不能作为文件名"), std::string::npos);
  EXPECT_EQ(sim.log.Of(rt::sim::Action::kShellOpen).back().detail, "C:\\Tovan\\同页粘贴");
}

}  // namespace
}  // namespace tovan
