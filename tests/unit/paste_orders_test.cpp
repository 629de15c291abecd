// The checked-row order's automatic runs, the web run in both orders, the
// slot modes' own waits, and presses that find no checked row: the keys,
// texts and waits a target program receives.
#include "tests/unit/paste_test_fixture.h"

namespace tovan {
namespace {

using Lines = std::vector<std::string>;

class PasteOrderTest : public PasteTest {
 protected:
  // Rows a … d, rows 1 and 3 checked (the check-state file lists 2 and 4),
  // in checked-row order.
  void PrepareChecked(const std::string& mode) {
    Prepare({"a", "b", "c", "d"}, {"", "2", "", "1"}, 10);
    sim.ui.Click("按钮102");
    Mode(mode);
    sim.ui.ToggleCheck("超级列表框1", 1);
    sim.ui.ToggleCheck("超级列表框1", 3);
    sim.ui.SetCursor({5, 5}, 4660);  // the web modes post to the window under the cursor
    sim.ui.SetForegroundWindow(4660);  // the page the user works in
  }
  bool Idle() { return U("按钮120").Text() == "自动" && U("编辑框1011").Text() == "66"; }
};

TEST_F(PasteOrderTest, ACheckedRowRunPastesEveryCheckedRowInItsModeThenRestoresTheChecks) {
  PrepareChecked("自动横向粘贴");
  auto t0 = PressF2();
  EXPECT_EQ(Story(t0), (Lines{"+30 clip b", "+40 Ctrl+V", "+50 Tab", "+60 Tab", "+60 clip d", "+70 Ctrl+V", "+80 Tab",
                              "+90 sound"}));
  EXPECT_TRUE(Idle());
  EXPECT_EQ(CheckedRows(), (std::vector<int>{1, 3}));
  EXPECT_EQ(List().CurrentRow(), 3);

  Mode("自动纵向粘贴");
  t0 = PressF2();
  EXPECT_EQ(Story(t0), (Lines{"+30 clip b", "+40 Ctrl+V", "+50 Enter", "+60 Enter", "+60 clip d", "+70 Ctrl+V",
                              "+80 Enter", "+90 sound"}));

  // The web run posts each checked row after 100 ms, its Tabs at once.
  Mode("自动网页强制粘贴");
  t0 = PressF2();
  EXPECT_EQ(Story(t0), (Lines{"+110 post 4660 258 98 0", "+110 Tab", "+110 Tab", "+220 post 4660 258 100 0",
                              "+220 Tab", "+240 sound"}));
  EXPECT_TRUE(Idle());
  EXPECT_EQ(CheckedRows(), (std::vector<int>{1, 3}));
}

TEST_F(PasteOrderTest, ASequentialWebRunPostsTheLastRowWithoutItsTabs) {
  Prepare({"a", "b", "c"}, {"1", "", "3"}, 10);
  Mode("自动网页强制粘贴");
  sim.ui.SetCursor({5, 5}, 4660);
  sim.ui.SetForegroundWindow(4660);  // the page the user works in
  const auto t0 = PressF2();
  EXPECT_EQ(Story(t0), (Lines{"+110 post 4660 258 97 0", "+110 Tab", "+220 post 4660 258 98 0",
                              "+330 post 4660 258 99 0"}));
  EXPECT_TRUE(Idle());
  EXPECT_EQ(List().CurrentRow(), 2);
}

TEST_F(PasteOrderTest, WithNoCheckedRowAPressDoesNothingAndAllCheckedClearsTheClipboardWithoutAPaste) {
  Prepare({"a", "b"}, {}, 10);
  sim.ui.Click("按钮102");
  for (const char* mode : {"手动横向粘贴", "手动纵向粘贴", "网页强制粘贴"}) {
    Mode(mode);
    const auto t0 = PressF2();
    sim.clock.Wait(500);
    EXPECT_EQ(Story(t0), Lines{}) << mode;
  }
  Mode("勾选项全部粘贴");
  const auto t0 = PressF2();
  EXPECT_EQ(Story(t0), (Lines{"+0 clip "}));  // an empty text would paste nothing
}

TEST_F(PasteOrderTest, SlotHotkeysOneToSixWait50MsBeforeTheirRowAndLaterSlotsDoNot) {
  std::vector<std::string> contents;
  for (int i = 1; i <= 8; ++i) contents.push_back("row" + std::to_string(i));
  Prepare(contents, {"1", "", "", "", "", "", "", ""}, 10);
  app.Rows().SetCell(6, table::kHotkey, "F7");
  Mode("多热键横向粘贴");
  sim.ui.Click("加载热键");  // unload
  sim.ui.Click("加载热键");  // load: slots 1 and 7
  auto t0 = PressF2();
  EXPECT_EQ(Story(t0), (Lines{"+50 clip row1", "+150 Ctrl+V", "+160 Tab"}));
  EXPECT_EQ(List().CurrentRow(), 0);
  t0 = Now();
  sim.hotkeys.Press(0, 0x76);
  EXPECT_EQ(Story(t0), (Lines{"+0 clip row7", "+100 Ctrl+V"}));
  EXPECT_EQ(List().CurrentRow(), 6);
}

TEST_F(PasteOrderTest, PictureAndTextSlotHotkeysPasteTheirOwnRowsLinesAndStay) {
  Mode("多快捷键图文粘贴");  // an empty table gets 200 numbered rows
  ASSERT_EQ(app.Rows().RowCount(), 200u);
  app.Rows().SetCell(0, table::kContent, "one");
  app.Rows().SetCell(0, table::kHotkey, "F2");
  app.Rows().SetCell(2, table::kContent, "three\r\nmore");
  app.Rows().SetCell(2, table::kHotkey, "F4");
  ChooseItem("组合框2", "10");
  sim.ui.Click("加载热键");
  auto t0 = Now();
  // Moving to the slot's row rebuilds its item list (30 ms), then each line
  // waits the interval.
  sim.hotkeys.Press(0, 0x73);
  EXPECT_EQ(Story(t0), (Lines{"+40 clip three", "+40 Ctrl+V", "+50 clip more", "+50 Ctrl+V", "+50 Enter"}));
  EXPECT_EQ(List().CurrentRow(), 2);
  t0 = PressF2();  // slot 1 waits 50 ms before its line break
  EXPECT_EQ(Story(t0), (Lines{"+40 clip one", "+40 Ctrl+V", "+90 Enter"}));
  EXPECT_EQ(List().CurrentRow(), 0);
}

}  // namespace
}  // namespace tovan
