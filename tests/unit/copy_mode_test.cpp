#include "shell/main_window_layout.h"
#include "tests/unit/app_fixture.h"

namespace tovan {
namespace {

class CopyModeTest : public AppTest {
 protected:
  void SetUp() override { Start(); }
  std::vector<std::string> Highlighted() {
    std::vector<std::string> out;
    for (const char* name : {"按钮1", "按钮102", "按钮66", "按钮104", "按钮word", "按钮excel", "按钮6"})
      if (U(name).BackColour() == shell::kHighlightColour) out.push_back(name);
    return out;
  }
};

TEST_F(CopyModeTest, AModeButtonHighlightsItselfAndClickingTwiceChangesNothingMore) {
  sim.ui.Click("按钮102");
  EXPECT_EQ(app.CopyMode(), 1);
  EXPECT_EQ(Highlighted(), (std::vector<std::string>{"按钮102"}));
  sim.ui.Click("按钮102");
  EXPECT_EQ(app.CopyMode(), 1);
  EXPECT_EQ(Highlighted(), (std::vector<std::string>{"按钮102"}));
  sim.ui.Click("按钮1");
  EXPECT_EQ(app.CopyMode(), 0);
  EXPECT_EQ(Highlighted(), (std::vector<std::string>{"按钮1"}));
}

TEST_F(CopyModeTest, AnotherModeTurnsTheBacktickCaptionBackAndShowsTheTable) {
  U("按钮66").SetText("关闭复制");
  U("按钮104").SetText("同页保存");
  U("编辑框25").SetVisible(true);
  U("超级列表框1").SetVisible(false);
  sim.ui.Click("按钮102");
  EXPECT_EQ(U("按钮66").Text(), "反撇号键粘贴");
  EXPECT_EQ(U("按钮104").Text(), "同页粘贴");
  EXPECT_TRUE(U("超级列表框1").Visible());
  EXPECT_FALSE(U("编辑框25").Visible());
}

TEST_F(CopyModeTest, ModeButtonsRegisterTheBacktickKeyAgain) {
  sim.ui.Click("按钮4");
  EXPECT_NE(app.Hotkeys().backtick, 0);
  EXPECT_TRUE(sim.hotkeys.IsRegistered(0, rt::kVkBacktick));
  EXPECT_EQ(sim.hotkeys.Count(), 1u);  // the old registration went first
}

TEST_F(CopyModeTest, TheResetButtonRestoresTheExcelCellCursor) {
  U("编辑框hang").SetText("A7");
  U("编辑框hang9").SetText("J7");
  sim.ui.Click("按钮6");
  EXPECT_EQ(U("编辑框hang").Text(), "A1");
  EXPECT_EQ(U("编辑框hang9").Text(), "J1");
}

TEST_F(CopyModeTest, ViewAndRecordingButtonsOpenThroughTheShell) {
  sim.ui.Click("按钮75");
  U("选择框95").SetChecked(true);
  U("选择框98").SetChecked(true);
  sim.ui.Click("按钮18");
  std::vector<std::string> opened;
  for (const auto& a : sim.log.Of(rt::sim::Action::kShellOpen)) opened.push_back(a.detail);
  EXPECT_EQ(opened, (std::vector<std::string>{"C:\\Tovan", "C:\\Tovan\\数据5.txt", "C:\\Tovan\\数据2.txt"}));
}

}  // namespace
}  // namespace tovan
