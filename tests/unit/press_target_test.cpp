// A press lands in the window it was aimed at, or nowhere: the window in
// front when it arrived, through a dialog of the same program, a switch to
// another window, a wait in the queue, and a stop pressed before the run
// had its turn.
#include "tests/unit/paste_test_fixture.h"

namespace tovan {
namespace {

using Lines = std::vector<std::string>;
using rt::sim::Action;

constexpr std::uintptr_t kForm = 700;  // the window being filled
constexpr std::uint32_t kFormProcess = 42;

class PressTargetTest : public PasteTest {
 protected:
  std::string LastHint() {
    const auto balloons = sim.log.Of(Action::kBalloon);
    return balloons.empty() ? std::string() : balloons.back().detail;
  }
  bool HintSays(const std::string& text) { return LastHint().find(text) != std::string::npos; }
};

TEST_F(PressTargetTest, AnAutomaticRunStopsAtAMessageOfTheProgramItFillsButNotAtAMomentWithNoWindow) {
  Prepare({"r0", "r1", "r2", "r3", "r4"}, {"1", "1", "1", "1", "1"}, 10);
  Mode("自动纵向粘贴");
  sim.ui.SetForegroundWindow(kForm, kFormProcess);
  // A popup closing leaves no window in front for 100 ms: the run waits it out.
  sim.clock.AfterMillis(200, [&] { sim.ui.SetForegroundWindow(0, 0); });
  sim.clock.AfterMillis(300, [&] { sim.ui.SetForegroundWindow(kForm, kFormProcess); });
  // The form's own question ("save?", a validation message): same program,
  // another window. Nothing goes into it.
  sim.clock.AfterMillis(450, [&] { sim.ui.SetForegroundWindow(701, kFormProcess); });
  const auto t0 = PressF2();
  EXPECT_EQ(Story(t0), (Lines{"+30 clip r0", "+130 Ctrl+V", "+140 Enter", "+140 clip r1", "+300 Ctrl+V",
                              "+310 Enter", "+310 clip r2", "+410 Ctrl+V", "+420 Enter", "+420 clip r3"}));
  EXPECT_EQ(U("按钮120").Text(), "自动");
  EXPECT_EQ(List().CurrentRow(), 3);
  EXPECT_TRUE(HintSays("●目标窗口已关闭或切换，自动粘贴已停止！"));
  // No window in front for longer than 300 ms ends a run too.
  sim.ui.SetForegroundWindow(kForm, kFormProcess);
  sim.clock.AfterMillis(50, [&] { sim.ui.SetForegroundWindow(0, 0); });
  const auto t1 = PressF2();
  EXPECT_EQ(Story(t1), (Lines{"+30 clip r3"}));
  EXPECT_EQ(List().CurrentRow(), 3);
}

TEST_F(PressTargetTest, AQueuedPressSendsNothingToTheWindowTheUserSwitchedTo) {
  Prepare({"甲一", "乙二", "丙三"}, {"5", "5", "5"}, 40);
  sim.ui.SetForegroundWindow(kForm, kFormProcess);
  sim.clock.AfterMillis(20, [&] { sim.hotkeys.Press(0, kF2); });  // a second tap, waiting its turn
  sim.clock.AfterMillis(250, [&] { sim.ui.SetForegroundWindow(800, 43); });  // another notepad
  const auto t0 = PressF2();
  // The first press's Tabs stop at the switch; the second press sends nothing.
  EXPECT_EQ(Story(t0), (Lines{"+0 clip 甲一", "+100 Ctrl+V", "+140 Tab", "+180 Tab", "+220 Tab"}));
  EXPECT_TRUE(HintSays("●目标窗口已关闭或切换，粘贴已停止！"));
  EXPECT_EQ(List().CurrentRow(), 1);  // 甲一 went in: the next press pastes 乙二
  sim.ui.SetForegroundWindow(kForm, kFormProcess);
  EXPECT_EQ(Story(PressF2()).at(0), "+0 clip 乙二");
}

TEST_F(PressTargetTest, AStopPressedWhileTheRunWaitsItsTurnKeepsItFromStarting) {
  Prepare({"r0", "r1", "r2", "r3", "r4"}, {"", "", "", "", ""}, 10);
  Mode("自动横向粘贴");
  // A backtick copy is under way; the run's hotkey is pressed twice, 20 ms apart.
  sim.clock.AfterMillis(20, [&] { sim.hotkeys.Press(0, kF2); });
  sim.clock.AfterMillis(40, [&] { sim.hotkeys.Press(0, kF2); });
  const auto t0 = Now();
  sim.hotkeys.Press(0, rt::kVkBacktick);
  sim.clock.AdvanceTo(sim.clock.NowMicros() + 1'000'000);
  EXPECT_EQ(Story(t0), (Lines{"+100 Ctrl+C"}));
  EXPECT_EQ(U("按钮120").Text(), "自动");
  EXPECT_EQ(List().CurrentRow(), 0);
  // Pressed once more, the run starts as ever.
  EXPECT_EQ(Story(PressF2()).at(0), "+30 clip r0");
}

TEST_F(PressTargetTest, APostedRowGoesOnlyIntoTheWindowInFrontWhenPressed) {
  Prepare({"a", "b"}, {"", ""}, 10);
  Mode("网页强制粘贴");
  sim.ui.SetForegroundWindow(4000, kFormProcess);  // a browser; the mouse over its page
  sim.target.SetTopLevel(4660, 4000);
  sim.ui.SetCursor({5, 5}, 4660);
  EXPECT_EQ(Story(PressF2()), (Lines{"+0 post 4660 258 97 0"}));
  // The mouse rests on another program's window: nothing is posted there.
  sim.ui.SetCursor({5, 5}, 5000);
  EXPECT_TRUE(Story(PressF2()).empty());
  EXPECT_TRUE(HintSays("●目标窗口已关闭或切换，粘贴已停止！"));
  EXPECT_EQ(List().CurrentRow(), 1);
}

TEST_F(PressTargetTest, ABacktickPressPinsOrCopiesInTheWindowInFrontWhenItWasPressed) {
  Prepare({"a"}, {""}, 10);
  ChooseItem("导入方式", "设置程序界面置顶");
  // A backtick press waits its turn behind a row press; the user has moved
  // to another window by then.
  const auto press_both_then_switch = [&] {
    sim.ui.SetForegroundWindow(kForm, kFormProcess);
    List().SetCurrentRow(0);
    sim.clock.AfterMillis(20, [&] { sim.hotkeys.Press(0, rt::kVkBacktick); });
    sim.clock.AfterMillis(50, [&] { sim.ui.SetForegroundWindow(800, 43); });
    return PressF2();
  };
  press_both_then_switch();
  std::vector<std::string> pins;
  for (const auto& e : sim.log.Of(Action::kTopmost)) pins.push_back(e.detail);
  EXPECT_EQ(pins, (Lines{"700 on"}));  // the window it was pressed in
  // A copy: no Ctrl+C goes to the other window (nor the row's Ctrl+V).
  ChooseItem("导入方式", "单次录入");
  const auto t0 = press_both_then_switch();
  EXPECT_EQ(Story(t0), (Lines{"+0 clip a"}));
  EXPECT_TRUE(HintSays("●目标窗口已关闭或切换，本次没有复制或粘贴！"));
}

}  // namespace
}  // namespace tovan
