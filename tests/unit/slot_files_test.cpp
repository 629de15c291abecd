#include <filesystem>

#include "runtime/gbk.h"
#include "table/slot_format.h"
#include "table/slot_loader.h"
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

class SlotFilesTest : public AppTest {
 protected:
  void SetUp() override { Start(); }
  std::string File(const std::string& name) { return sim.files.Read(sim.files.InRunDirectory(name)); }
  void Put(const std::string& name, const std::string& utf8) {
    sim.files.Write(sim.files.InRunDirectory(name), rt::ToGbk(utf8).bytes);
  }
};

TEST_F(SlotFilesTest, ASavedSlotReopensAsTheSameRows) {
  // The user hid the old pair in Explorer: the new files stay hidden.
  constexpr unsigned kHidden = 2;
  Put("保存B.txt", "old★");
  Put("跳快数据B.txt", "");
  sim.files.SetAttributes(sim.files.InRunDirectory("保存B.txt"), kHidden);
  sim.files.SetAttributes(sim.files.InRunDirectory("跳快数据B.txt"), kHidden);
  AddRows({"a", "b\r\nsecond", "c"});
  app.Rows().SetCell(1, kPause, "暂停");
  app.Rows().SetCell(2, kSkip, "3");
  app.Rows().SetCell(2, kHotkey, "Ctrl+1");
  sim.ui.Click("保存B");
  EXPECT_EQ(File("保存B.txt"), "a\xA1\xEF" "b\r\nsecond\xA1\xEF" "c\xA1\xEF");
  EXPECT_EQ(sim.files.Attributes(sim.files.InRunDirectory("保存B.txt")), kHidden);
  EXPECT_EQ(sim.files.Attributes(sim.files.InRunDirectory("跳快数据B.txt")), kHidden);
  EXPECT_EQ(File("跳快数据B.txt"), "\xA1\xEF\xA1\xEF\r\n\xA1\xEF\xD4\xDD\xCD\xA3\xA1\xEF\r\n3\xA1\xEF\xA1\xEF" "Ctrl+1\r\n");
  sim.ui.Click("按钮2");
  sim.ui.Click("打开B");
  EXPECT_EQ(ColumnOf(kContent), (std::vector<std::string>{"a", "b\r\nsecond", "c"}));
  EXPECT_EQ(ColumnOf(kNumber), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(ColumnOf(kPause), (std::vector<std::string>{"", "暂停", ""}));
  EXPECT_EQ(ColumnOf(kHotkey), (std::vector<std::string>{"", "", "Ctrl+1"}));
  EXPECT_EQ(U("打开B").BackColour(), shell::kHighlightColour);
  EXPECT_EQ(U("打开A").BackColour(), shell::kButtonColour);
  EXPECT_EQ(sim.ui.List("超级列表框1").CurrentRow(), 0);
}

TEST_F(SlotFilesTest, ASlotRoundTripsByteForByte) {
  const std::string rows = "\xD5\xC5\xC8\xFD\r\n\r\nline 3\xA1\xEF\xA1\xEF" "x\xA1\xEF";  // 张三 with lines; an empty row; x
  const std::string extras = "12\xA1\xEF\xD4\xDD\xCD\xA3\xA1\xEF" "Ctrl+\xBC\xD3\xBA\xC5\r\n"  // Ctrl+加号
                             "\xA1\xEF\xA1\xEF\r\n"
                             "\xA1\xEF\xA1\xEF" "F5\r\n";
  sim.files.Write(sim.files.InRunDirectory("保存D.txt"), rows);
  sim.files.Write(sim.files.InRunDirectory("跳快数据D.txt"), extras);
  sim.ui.Click("打开D");
  EXPECT_EQ(ColumnOf(kContent), (std::vector<std::string>{"张三\r\n\r\nline 3", "", "x"}));
  EXPECT_EQ(ColumnOf(kHotkey), (std::vector<std::string>{"Ctrl+加号", "", "F5"}));
  EXPECT_EQ(U("加载热键").Text(), "卸载热键");  // a first row with a hotkey loads them
  sim.ui.Click("保存E");
  EXPECT_EQ(File("保存E.txt"), rows);
  EXPECT_EQ(File("跳快数据E.txt"), extras);
}

TEST_F(SlotFilesTest, ExtrasShorterOrLongerThanTheTableFillWhatMatches) {
  Put("保存A.txt", "a★b★c★");
  Put("跳快数据A.txt", "1★★\r\n");
  sim.ui.Click("打开A");
  EXPECT_EQ(ColumnOf(kSkip), (std::vector<std::string>{"1", "", ""}));
  Put("跳快数据A.txt", "1★★\r\n2★★\r\n3★★\r\n4★★\r\n5★★\r\n");
  sim.ui.Click("打开A");
  EXPECT_EQ(ColumnOf(kSkip), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(app.Rows().RowCount(), 3u);
}

TEST_F(SlotFilesTest, AFailedSaveLeavesTheOldPairNotAMixedOneAndSaysWhy) {
  const std::string extras = sim.files.InRunDirectory("跳快数据A.txt");
  // The old pair, its extras file held by another program.
  const auto old_pair_held = [&] {
    Put("保存A.txt", "old★");
    Put("跳快数据A.txt", "9★★\r\n");
    sim.files.Refuse(extras);
  };
  AddRows({"new"});
  // A virus scanner holds the extras file for a second: the save waits it out.
  old_pair_held();
  sim.clock.AfterMillis(1000, [&] { sim.files.Allow(extras); });
  sim.ui.Click("保存A");
  EXPECT_EQ(File("保存A.txt"), "new\xA1\xEF");
  EXPECT_TRUE(Balloons().empty());
  // Saved again while the first save still waits: the newer table wins.
  old_pair_held();
  sim.clock.AfterMillis(500, [&] {
    app.Rows().SetCell(0, kContent, "newer");
    sim.ui.Click("保存A");
  });
  sim.clock.AfterMillis(1500, [&] { sim.files.Allow(extras); });
  sim.ui.Click("保存A");
  EXPECT_EQ(File("保存A.txt"), "newer\xA1\xEF");
  EXPECT_TRUE(Balloons().empty());
  // Held for good: the row file, already written, goes back to what it
  // was, and after 3 s of trying the user is told; the table keeps its rows.
  old_pair_held();
  const std::int64_t t0 = sim.NowMillis();
  sim.ui.Click("保存A");
  EXPECT_GE(sim.NowMillis() - t0, 3000);
  EXPECT_EQ(File("保存A.txt"), "old\xA1\xEF");
  EXPECT_EQ(File("跳快数据A.txt"), "9\xA1\xEF\xA1\xEF\r\n");
  EXPECT_EQ(Balloons(), (std::vector<std::string>{BalloonAt("保存A", 10, 30, "●保存A没能写入：文件被其他程序占用，请稍后再保存！")}));
  EXPECT_EQ(app.Rows().Cell(0, kContent), "newer");
  // A read-only folder: nothing changes either; a full disk is said at once.
  Put("保存B.txt", "old★");
  sim.files.Refuse(sim.files.InRunDirectory("保存B.txt.tmp~"), rt::WriteFailure::kReadOnly);
  sim.ui.Click("保存B");
  EXPECT_EQ(File("保存B.txt"), "old\xA1\xEF");
  EXPECT_FALSE(sim.files.Exists(sim.files.InRunDirectory("跳快数据B.txt")));
  EXPECT_EQ(Balloons().back(), BalloonAt("保存B", 10, 30, "●保存B没能写入：文件夹不能写入，请把程序放到可以写入的文件夹！"));
  sim.files.Refuse(sim.files.InRunDirectory("保存C.txt.tmp~"), rt::WriteFailure::kDiskFull);
  const std::int64_t t1 = sim.NowMillis();
  sim.ui.Click("保存C");
  EXPECT_LT(sim.NowMillis() - t1, 100);
  EXPECT_EQ(Balloons().back(), BalloonAt("保存C", 10, 30, "●保存C没能写入：磁盘已满，请腾出空间后再保存！"));
  for (const char* leftover : {"保存A.txt.tmp~", "保存A.txt.old~", "跳快数据A.txt.tmp~", "跳快数据B.txt.tmp~"})
    EXPECT_FALSE(sim.files.Exists(sim.files.InRunDirectory(leftover))) << leftover;
}

TEST_F(SlotFilesTest, BrokenAndTruncatedFilesOpenQuietlyTouchNothingAndSaveBackAsTheyWere) {
  // A bad pair and a stray byte; then a file cut in a character.
  const std::string rows = "ok\xA1\xEF\x81\xFF\xA1\xEF";
  sim.files.Write(sim.files.InRunDirectory("保存C.txt"), rows + "\xD5");
  sim.files.Write(sim.files.InRunDirectory("跳快数据C.txt"), "\xA1\xEF\xFF");
  sim.files.Write(sim.files.InRunDirectory("选择框.txt"), "2\r\n-5\r\n99999999999999999999\r\n\xFF");
  sim.log.Clear();
  sim.ui.Click("打开C");
  EXPECT_EQ(ColumnOf(kContent), (std::vector<std::string>{"ok", "\uF781\uF7FF", "\uF7D5"}));
  EXPECT_EQ(CheckedRows(), (std::vector<int>{1}));
  EXPECT_TRUE(sim.log.Of(Action::kFileWritten).empty());
  // Saved unedited, the bytes come back as they were, with no question.
  app.Rows().Delete(2);
  sim.ui.Click("保存C");
  EXPECT_EQ(File("保存C.txt"), rows);
  EXPECT_TRUE(sim.log.Of(Action::kQuestion).empty());
}

TEST_F(SlotFilesTest, CheckChangesDuringAWriteAreWrittenOnceItEnds) {
  AddRows({"a", "b", "c", "d"});
  sim.worker.SetJobMillis(20);  // every file job takes 20 ms
  sim.clock.AfterMillis(5, [&] { sim.ui.ToggleCheck("超级列表框1", 2); });
  sim.clock.AfterMillis(6, [&] { sim.ui.ToggleCheck("超级列表框1", 3); });
  sim.ui.ToggleCheck("超级列表框1", 0);
  EXPECT_EQ(File("选择框.txt"), "1\r\n3\r\n4\r\n");
  // The two clicks during the first write share one further write.
  EXPECT_EQ(sim.log.Of(Action::kFileWritten).size(), 2u);
}

TEST_F(SlotFilesTest, ASaveCutShortByACrashLeavesTheSlotAsBeforeTheSave) {
  // The program ended after moving the rows aside and putting the new
  // extras in place: the next open finds the pair from before the save.
  Put("保存B.txt", "甲★乙★");
  Put("跳快数据B.txt", "1★★\r\n2★★\r\n");
  namespace fs = std::filesystem;
  const auto host = [&](const std::string& name) { return sim.files.HostPath(sim.files.InRunDirectory(name)); };
  fs::rename(host("保存B.txt"), host("保存B.txt.old~"));
  fs::rename(host("跳快数据B.txt"), host("跳快数据B.txt.old~"));
  Put("跳快数据B.txt", "9★★\r\n");
  Put("保存B.txt.tmp~", "新★");
  sim.ui.Click("打开B");
  EXPECT_EQ(ColumnOf(kContent), (std::vector<std::string>{"甲", "乙"}));
  EXPECT_EQ(ColumnOf(kSkip), (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(File("保存B.txt"), rt::ToGbk("甲★乙★").bytes);
  EXPECT_FALSE(fs::exists(host("保存B.txt.old~")));
  EXPECT_FALSE(fs::exists(host("保存B.txt.tmp~")));
}

TEST_F(SlotFilesTest, ReadingTheCheckStatesDuringAWriteSeesTheNewestChange) {
  AddRows({"a", "b", "c", "d"});
  sim.ui.ToggleCheck("超级列表框1", 0);
  sim.ui.ToggleCheck("超级列表框1", 2);  // rows 1 and 3 checked, and written
  sim.worker.SetJobMillis(20);
  sim.clock.AfterMillis(5, [&] { sim.ui.ToggleCheck("超级列表框1", 2); });  // row 3 unchecked
  sim.clock.AfterMillis(6, [&] { sim.ui.Click("打开检查框"); });
  sim.ui.ToggleCheck("超级列表框1", 1);  // row 2 checked: a write of 1, 2, 3 begins
  sim.clock.Wait(200);
  EXPECT_EQ(CheckedRows(), (std::vector<int>{0, 1}));
  EXPECT_EQ(File("选择框.txt"), "1\r\n2\r\n");
}

TEST_F(SlotFilesTest, ASlotReadInTwoHalvesAndInPiecesGivesTheSameRowsAsInOne) {
  auto expect_same = [&](const std::string& rows, std::size_t count) {
    std::string extras;
    for (int i = 0; i < 300; ++i) extras += std::to_string(i) + "\xA1\xEF\xA1\xEF\r\n";
    sim.files.Write(sim.files.InRunDirectory("r.txt"), rows);
    sim.files.Write(sim.files.InRunDirectory("e.txt"), extras);
    for (std::size_t piece : {table::kSlotPieceBytes, std::size_t{3}, std::size_t{64}}) {
      table::RowStore loaded;
      loaded.Adopt(table::LoadSlotRows(sim.worker, sim.files, sim.files.InRunDirectory("r.txt"),
                                       {sim.files.InRunDirectory("e.txt")}, "3\r\n399\r\n", piece));
      const std::string extras_text = rt::FromGbk(extras);  // the overlay reads it in place
      table::ExtrasOverlay overlay;
      overlay.Add(extras_text);
      table::RowStore expected;
      expected.Adopt(table::BuildSlotRows(rt::FromGbk(rows), overlay, "3\r\n399\r\n"));
      ASSERT_EQ(expected.RowCount(), count);
      ASSERT_EQ(loaded.RowCount(), count);
      for (std::size_t row = 0; row < count; ++row) {
        ASSERT_EQ(loaded.Cells(row), expected.Cells(row)) << row << " in pieces of " << piece;
        ASSERT_EQ(loaded.Checked(row), row == 2 || row == 398) << row;
      }
    }
  };
  // "啊" (B0 A1) before a character that starts with EF holds the bytes
  // A1 EF of "★" across two characters: a cut there would split a row.
  const std::string straddle = "\xB0\xA1\xEF\xA1";
  std::string rows;
  for (int i = 0; i < 400; ++i) rows += (i % 7 == 0 ? "" : std::to_string(i) + straddle + "\r\n" + straddle) + "\xA1\xEF";
  expect_same(rows, 400);
  // AA A1 is no character: the decoder loses AA alone, and A1 A1 then is
  // one, so the A1 EF after it is a "★" of its own.
  rows.clear();
  for (int i = 0; i < 240; ++i) rows += "row\xA1\xEF";
  rows += "\x20\xAA\xA1\xA1\xEF\x41\x7A\xA1\xEF";
  for (int i = 0; i < 160; ++i) rows += "end\xA1\xEF";
  expect_same(rows, 401);
  // Chinese text alone has no byte below 0x40 to start a walk from: the
  // pieces are cut by walking from their own starts.
  rows.clear();
  for (int i = 0; i < 500; ++i) rows += i % 2 ? "\xBA\xBA\xD7\xD6\xA1\xEF" : "\xD7\xD6\xA1\xEF";
  expect_same(rows, 500);
}

TEST_F(SlotFilesTest, SavingAnEmptyTableLeavesTheSlotAlone) {
  Put("保存A.txt", "old★");
  sim.ui.Click("保存A");
  EXPECT_EQ(File("保存A.txt"), "old\xA1\xEF");
}

TEST_F(SlotFilesTest, TextThatGbkCannotHoldIsSavedOnlyWhenTheUserAgrees) {
  AddRows({"smile 😀"});
  sim.ui.QueueAnswers({rt::Answer::kNo});
  sim.ui.Click("保存C");
  EXPECT_FALSE(sim.files.Exists(sim.files.InRunDirectory("保存C.txt")));
  sim.ui.QueueAnswers({rt::Answer::kYes});
  sim.ui.Click("保存C");
  EXPECT_EQ(File("保存C.txt"), "smile ?\xA1\xEF");
}

TEST_F(SlotFilesTest, OpeningAnotherSlotAppliesOnlyItsOwnExtras) {
  Put("保存A.txt", "x★y★");
  Put("跳快数据A.txt", "1★★\r\n2★★\r\n");
  Put("保存C.txt", "p★q★r★");
  Put("跳快数据C.txt", "★暂停★\r\n9\r\n★★F5★extra\r\n★★\r\n");
  sim.ui.Click("打开A");
  EXPECT_EQ(ColumnOf(kSkip), (std::vector<std::string>{"1", "2"}));
  sim.ui.Click("打开C");
  EXPECT_EQ(ColumnOf(kContent), (std::vector<std::string>{"p", "q", "r"}));
  EXPECT_EQ(ColumnOf(kSkip), (std::vector<std::string>{"", "9", ""}));
  EXPECT_EQ(ColumnOf(kPause), (std::vector<std::string>{"暂停", "", ""}));
  EXPECT_EQ(ColumnOf(kHotkey), (std::vector<std::string>{"", "", "F5"}));
  app.Rows().SetCell(0, kSkip, "changed");
  sim.ui.Click("打开自定义");
  EXPECT_EQ(ColumnOf(kSkip), (std::vector<std::string>{"", "9", ""}));
}

TEST_F(SlotFilesTest, ASlotWhoseFirstRowHasAHotkeyPointsTheUserToTheModeList) {
  const std::string hint = BalloonAt("组合框66", 20, 30, "●请在这选择粘贴方式！");
  Put("保存A.txt", "a★b★");
  Put("跳快数据A.txt", "★★\r\n★★F2\r\n");  // a hotkey on row 2 only
  sim.ui.Click("打开A");
  EXPECT_TRUE(Balloons().empty());
  Put("跳快数据B.txt", "★★F2\r\n");
  Put("保存B.txt", "a★");
  sim.ui.Click("打开B");
  EXPECT_EQ(Balloons(), (std::vector<std::string>{hint}));
  sim.ui.MouseDown("打开自定义");
  EXPECT_EQ(Balloons(), (std::vector<std::string>{hint, hint}));
}

TEST_F(SlotFilesTest, AMissingSlotOpensEmpty) {
  AddRows({"a"});
  sim.ui.Click("打开E");
  EXPECT_EQ(app.Rows().RowCount(), 0u);
}

TEST_F(SlotFilesTest, TheCheckStateFileAddsChecksForExistingRowsOnly) {
  AddRows({"a", "b", "c", "d", "e"});
  app.Rows().SetChecked(4, true);
  Put("选择框.txt", "1\r\n3\r\n99\r\nabc\r\n\r\n");
  sim.ui.Click("打开检查框");
  EXPECT_EQ(CheckedRows(), (std::vector<int>{0, 2, 4}));
}

TEST_F(SlotFilesTest, EveryCheckChangeRewritesTheCheckStateFile) {
  AddRows({"a", "b", "c"});
  sim.ui.ToggleCheck("超级列表框1", 1);
  EXPECT_EQ(File("选择框.txt"), "2\r\n");
  sim.ui.ToggleCheck("超级列表框1", 2);
  EXPECT_EQ(File("选择框.txt"), "2\r\n3\r\n");
  sim.ui.ToggleCheck("超级列表框1", 1);
  sim.ui.ToggleCheck("超级列表框1", 2);
  EXPECT_EQ(File("选择框.txt"), "");
  // A check-state file held for good: the newest checks stay in the table
  // and the user is told which file was not written.
  sim.files.Refuse(sim.files.InRunDirectory("选择框.txt"));
  sim.ui.ToggleCheck("超级列表框1", 0);
  EXPECT_EQ(File("选择框.txt"), "");
  EXPECT_TRUE(app.Rows().Checked(0));
  ASSERT_FALSE(Balloons().empty());
  EXPECT_EQ(Balloons().back(), BalloonAt("保存检查框", 10, 30, "●选择框没能写入：文件被其他程序占用，请稍后再保存！"));
}

TEST_F(SlotFilesTest, ClicksDuringALoadCannotDoubleOrClearTheRows) {
  std::string text;
  for (int i = 0; i < 25'000; ++i) text += "row" + std::to_string(i) + "★";
  Put("保存A.txt", text);
  // Arrive while the first batches are in: run by the load's own event pumps.
  sim.clock.AfterMillis(0, [&] {
    sim.clock.AfterMillis(0, [&] {
      sim.ui.Click("打开A");
      sim.ui.Click("按钮2");
      sim.ui.Click("保存B");
    });
    sim.ui.Click("打开A");
  });
  sim.clock.Wait(1000);
  EXPECT_EQ(app.Rows().RowCount(), 25'000u);
  EXPECT_EQ(app.Rows().Cell(24'999, kNumber), "25000");
  EXPECT_FALSE(sim.files.Exists(sim.files.InRunDirectory("保存B.txt")));
}

TEST_F(SlotFilesTest, ALargeSlotLoadsWholeWhileTheWindowKeepsRunning) {
  std::string text;
  for (int i = 0; i < 25'000; ++i) text += "row" + std::to_string(i) + "★";
  Put("保存D.txt", text);
  // Reading and building the rows takes 1.2 s: the window's timer (every
  // 500 ms) keeps ticking while it runs.
  sim.worker.SetJobMillis(1200);
  int ticks_while_loading = 0;
  sim.ui.Bind("时钟1", rt::EventKind::kTick, [&](const rt::Event&) {
    if (app.Rows().RowCount() == 0) ++ticks_while_loading;
  });
  sim.clock.AfterMillis(0, [&] { sim.ui.Click("打开D"); });
  sim.clock.Wait(3000);
  EXPECT_EQ(app.Rows().RowCount(), 25'000u);
  EXPECT_EQ(app.Rows().Cell(24'999, kNumber), "25000");
  EXPECT_EQ(app.Rows().Cell(24'999, kContent), "row24999");
  EXPECT_GE(ticks_while_loading, 2);
}

}  // namespace
}  // namespace tovan
