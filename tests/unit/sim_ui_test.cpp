#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/sim/sim_platform.h"

namespace tovan::rt::sim {
namespace {

// A small list model for the list tests.
class Rows : public ListModel {
 public:
  explicit Rows(std::size_t count) : checked_(count, false) {}
  std::size_t RowCount() const override { return checked_.size(); }
  std::string_view Cell(std::size_t, std::size_t) const override { return "x"; }
  bool Checked(std::size_t row) const override { return checked_[row]; }
  void SetChecked(std::size_t row, bool checked) override { checked_[row] = checked; }
  void Resize(std::size_t count) { checked_.resize(count); }

 private:
  std::vector<bool> checked_;
};

class SimUiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim.ui.Build(WindowLayout{.title = "Tovan", .width = 460, .height = 690, .visible_width = 460},
                 {
                     UnitLayout{.name = "编辑框1", .kind = UnitKind::kEdit, .rect = {10, 10, 50, 20}},
                     UnitLayout{.name = "编辑框2", .kind = UnitKind::kEdit, .rect = {10, 40, 50, 20}},
                     UnitLayout{.name = "组合框2", .kind = UnitKind::kComboList, .items = {"10", "20", "50"}},
                     UnitLayout{.name = "选择框1", .kind = UnitKind::kCheckBox, .rect = {500, 0, 10, 10}},
                     UnitLayout{.name = "时钟1", .kind = UnitKind::kTimer},
                     UnitLayout{.name = "列表",
                              .kind = UnitKind::kSuperList,
                              .rect = {16, 117, 422, 360},
                              .columns = {{"序号", 53}, {"内容", 180}, {"跳格", 40}}},
                     UnitLayout{.name = "拖放对象1", .kind = UnitKind::kDropTarget},
                 });
  }
  SimPlatform sim;
};

TEST_F(SimUiTest, UnitsKeepTheirPropertiesByName) {
  Unit& combo = sim.ui["组合框2"];
  EXPECT_EQ(combo.Selection(), -1);
  combo.SetSelection(2);
  EXPECT_EQ(combo.Text(), "50");
  combo.SetSelection(7);  // outside the items: nothing selected
  EXPECT_EQ(combo.Selection(), -1);
  EXPECT_EQ(sim.ui["窗口"].Text(), "Tovan");
  EXPECT_EQ(sim.ui.Find("没有"), nullptr);
  EXPECT_NE(sim.ui["编辑框1"].Handle(), sim.ui["编辑框2"].Handle());
  EXPECT_TRUE(IsOffScreen(sim.ui["选择框1"].Layout(), sim.ui.Window()));
  EXPECT_FALSE(IsOffScreen(sim.ui["编辑框1"].Layout(), sim.ui.Window()));
}

TEST_F(SimUiTest, FocusMovesWithLostAndGotFocusEvents) {
  std::vector<std::string> story;
  for (const char* name : {"编辑框1", "编辑框2"}) {
    sim.ui.Bind(name, EventKind::kGotFocus, [&, name](const Event&) { story.push_back(std::string("got ") + name); });
    sim.ui.Bind(name, EventKind::kLostFocus, [&, name](const Event&) { story.push_back(std::string("lost ") + name); });
  }
  sim.ui["编辑框1"].Focus();
  sim.ui["编辑框2"].Focus();
  sim.ui["编辑框2"].Focus();
  EXPECT_EQ(story, (std::vector<std::string>{"got 编辑框1", "lost 编辑框1", "got 编辑框2"}));
  EXPECT_EQ(sim.ui.FocusedUnit(), "编辑框2");
}

TEST_F(SimUiTest, TimersTickOnTheVirtualClockUntilStopped) {
  std::vector<std::int64_t> ticks;
  sim.ui.Bind("时钟1", EventKind::kTick, [&](const Event&) { ticks.push_back(sim.NowMillis()); });
  sim.ui["时钟1"].SetTimerPeriod(500);
  sim.clock.Wait(1600);
  sim.ui["时钟1"].SetTimerPeriod(200);  // a new period replaces the old ticks
  sim.clock.Wait(500);
  sim.ui["时钟1"].SetTimerPeriod(0);
  sim.clock.Wait(1000);
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{500, 1000, 1500, 1800, 2000}));
}

TEST_F(SimUiTest, CheckBoxClicksToggleBeforeTheHandlerRuns) {
  bool seen = false;
  sim.ui.Bind("选择框1", EventKind::kClicked, [&](const Event&) { seen = sim.ui["选择框1"].Checked(); });
  sim.ui.Click("选择框1");
  EXPECT_TRUE(seen);
}

TEST_F(SimUiTest, ListHitTestFollowsRowsColumnsAndScrolling) {
  Rows rows(100);
  ListUnit& list = sim.ui.List("列表");
  list.SetModel(&rows);
  list.RowsChanged();
  EXPECT_EQ(list.HitTest({10, 5}), CellHit{});  // the header
  EXPECT_EQ(list.HitTest({10, 20}), (CellHit{0, 0}));
  EXPECT_EQ(list.HitTest({60, 20 + 17 * 3 + 2}), (CellHit{3, 1}));
  EXPECT_EQ(list.HitTest({300, 20}), (CellHit{0, -1}));  // right of the last column
  list.EnsureVisible(50);
  const CellHit hit = list.HitTest({240, list.RowOrigin(50).y + 1});
  EXPECT_EQ(hit, (CellHit{50, 2}));
  rows.Resize(3);
  list.RowsChanged();
  EXPECT_EQ(list.HitTest({10, 20 + 17 * 3}), CellHit{});  // below the last row
}

TEST_F(SimUiTest, ChangingTheCurrentRowNotifiesLikeAClick) {
  Rows rows(5);
  ListUnit& list = sim.ui.List("列表");
  list.SetModel(&rows);
  list.RowsChanged();
  std::vector<int> notified;
  sim.ui.Bind("列表", EventKind::kItemNotify, [&](const Event& e) { notified.push_back(e.row); });
  list.SetCurrentRow(2);
  list.SetCurrentRow(2);
  list.SetCurrentRow(9);  // no such row: none selected
  EXPECT_EQ(notified, (std::vector<int>{2, -1}));
  list.SetCurrentRow(4);
  rows.Resize(2);
  list.RowsChanged();
  EXPECT_EQ(list.CurrentRow(), -1);
}

TEST_F(SimUiTest, UserCheckClicksChangeTheModelBeforeTheEvent) {
  Rows rows(3);
  sim.ui.List("列表").SetModel(&rows);
  Event seen;
  sim.ui.Bind("列表", EventKind::kCheckChanged, [&](const Event& e) {
    seen = e;
    EXPECT_TRUE(rows.Checked(1));
  });
  sim.ui.ToggleCheck("列表", 1);
  EXPECT_EQ(seen.row, 1);
  EXPECT_EQ(seen.state, 1);
}

TEST_F(SimUiTest, DroppedFilesReachTheDropTargetRegisteredOnTheList) {
  std::vector<std::string> files;
  sim.ui.Bind("拖放对象1", EventKind::kDropped, [&](const Event& e) { files = e.files; });
  sim.ui.DropFiles("列表", {"C:\\a.txt"});
  EXPECT_TRUE(files.empty());  // not registered yet
  sim.ui.RegisterDropTarget("拖放对象1", "列表");
  sim.ui.DropFiles("列表", {"C:\\a.txt", "C:\\数据 b.txt"});
  EXPECT_EQ(files, (std::vector<std::string>{"C:\\a.txt", "C:\\数据 b.txt"}));
}

TEST_F(SimUiTest, HotkeysAreRefusedWhenTakenAndIdsAreReused) {
  sim.hotkeys.TakenByOther(kCtrl, 'V');
  EXPECT_EQ(sim.hotkeys.Register("标签1", kCtrl, 'V'), 0);
  EXPECT_EQ(sim.hotkeys.Register("标签1", 0, 0), 0);
  const int a = sim.hotkeys.Register("标签1", 0, kVkBacktick);
  const int b = sim.hotkeys.Register("标签1", kCtrl, '1');
  EXPECT_EQ(sim.hotkeys.Register("标签1", kCtrl, '1'), 0);  // already ours
  EXPECT_NE(a, b);
  sim.hotkeys.Unregister(a);
  sim.hotkeys.Unregister(a);  // twice: nothing happens
  EXPECT_EQ(sim.hotkeys.Register("标签1", kAlt, 'Q'), a);
  EXPECT_EQ(sim.log.Of(Action::kHotkeyUnregistered).size(), 1u);
}

TEST_F(SimUiTest, HookEventsAreHandledInArrivalOrderWhateverWaitsRunBetween) {
  // The press's handling waits (as a drag copy does); the release and the
  // next click arrive meanwhile and are handled after it, in their order.
  std::vector<std::string> story;
  sim.mouse_hook.Install("test", [&](const MouseEvent& event) {
    story.push_back("start " + std::to_string(event.message) + " @" + std::to_string(sim.NowMillis()));
    if (event.message == kLeftButtonDown && event.screen.x == 1) sim.clock.Wait(100);
  });
  sim.clock.AfterMillis(30, [&] {
    sim.mouse_hook.Send(kLeftButtonUp, {1, 1});
    sim.mouse_hook.Send(kLeftButtonDown, {2, 2});
  });
  sim.clock.AfterMillis(60, [&] { sim.mouse_hook.Send(kLeftButtonUp, {2, 2}); });
  sim.mouse_hook.Send(kLeftButtonDown, {1, 1});
  sim.clock.Wait(10);
  EXPECT_EQ(story, (std::vector<std::string>{"start 513 @0", "start 514 @100", "start 513 @100", "start 514 @100"}));
}

TEST_F(SimUiTest, FilesAreWrittenWholeAndStayInsideTheirRoot) {
  const std::string path = sim.files.InRunDirectory("保存A.txt");
  EXPECT_EQ(sim.files.Read(path), "");
  EXPECT_FALSE(sim.files.Exists(path));
  ASSERT_TRUE(sim.files.Write(path, "a\xA1\xEF"));
  EXPECT_EQ(sim.files.Read(path), "a\xA1\xEF");
  ASSERT_TRUE(sim.files.Write(path, "b"));
  EXPECT_EQ(sim.files.Read(path), "b");
  const auto escaped = sim.files.HostPath("C:\\..\\..\\..\\etc\\passwd");
  EXPECT_NE(escaped, std::filesystem::path("/etc/passwd"));
}

}  // namespace
}  // namespace tovan::rt::sim
