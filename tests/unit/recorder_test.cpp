// The recorder, replay, their input primitives and the hook lists, as timed
// stories on the simulated platform.
#include "recorder/hook_class.h"
#include "recorder/input_synthesis.h"
#include "runtime/licence_lock.h"
#include "shell/main_window_layout.h"
#include "tests/unit/paste_test_fixture.h"

namespace tovan {
namespace {

using Lines = std::vector<std::string>;
using rt::sim::Action;

// "+ms what" for every injected key, button and cursor move since the mark.
Lines Injected(rt::sim::SimPlatform& sim, std::int64_t from_millis, std::size_t from_entry = 0) {
  Lines out;
  const auto& entries = sim.log.Entries();
  for (std::size_t i = from_entry; i < entries.size(); ++i) {
    const auto& e = entries[i];
    if (e.action == Action::kInjectedKey || e.action == Action::kInjectedMouse)
      out.push_back("+" + std::to_string(e.Millis() - from_millis) + " " + e.detail);
    if (e.action == Action::kCursorMoved) out.push_back("+" + std::to_string(e.Millis() - from_millis) + " at " + e.detail);
  }
  return out;
}

class InputSynthesisTest : public ::testing::Test {
 protected:
  rt::sim::SimPlatform sim;
  rt::Platform p = sim.Services();
};

TEST_F(InputSynthesisTest, KeyActionsPressReleaseTapOrHoldAndExtendedReleasesCarryTheFlag) {
  recorder::SendKeyEvent(p, 65, 3, false);
  recorder::SendKeyEvent(p, 65, 4, false);
  recorder::SendKeyEvent(p, 65, 0, false);
  recorder::SendKeyEvent(p, 46, 4, true);
  recorder::SendKeyEvent(p, 65, 5, false);
  EXPECT_EQ(Injected(sim, 0), (Lines{"+0 65 down", "+0 65 up", "+0 65 down", "+0 65 up", "+0 46 up ext", "+0 65 down",
                                     "+0 65 up", "+0 65 down", "+5 65 up"}));
  EXPECT_EQ(sim.NowMillis(), 10);
}

TEST_F(InputSynthesisTest, MouseRowsMoveThenPressOrReleaseAndOtherCodesOnlyMove) {
  recorder::ReplayMouseEvent(p, 513, 100, 200);
  recorder::ReplayMouseEvent(p, 512, 5, 6);
  recorder::ReplayMouseEvent(p, 514, -1920, 40);  // a monitor left of the first
  recorder::SendMouseButton(p, 4, 0);
  recorder::SendMouseButton(p, 1, 7);
  recorder::SendMouseButton(p, 2, 2);
  EXPECT_EQ(Injected(sim, 0), (Lines{"+0 at 100,200", "+0 left down", "+0 at 5,6", "+0 at -1920,40", "+0 left up",
                                     "+0 right down", "+0 right up", "+500 right down", "+500 right up"}));
  sim.injector.SetClientOrigin(77, {300, 400});
  recorder::MoveCursorTo(p, 77, 10, 20);
  EXPECT_EQ(recorder::GetCursorOffset(p, 0), (rt::Point{310, 420}));
  EXPECT_EQ(recorder::GetCursorOffset(p, 77), (rt::Point{10, 20}));
  // Numbers from a hand-edited recording: the sum stays a number.
  recorder::MoveCursorTo(p, 77, 2147483647, -2147483647 - 1);
  EXPECT_EQ(sim.injector.Cursor(), (rt::Point{2147483647, -2147483647 - 1 + 400}));
}

TEST_F(InputSynthesisTest, HookCallbacksRunLastAddedFirstOnceEachAndNeverHearTheProgramsOwnInput) {
  recorder::HOOK类 hooks(p);
  Lines heard;
  EXPECT_EQ(hooks.AddKeyboardCallback("A", [&](const rt::KeyEvent& e) { heard.push_back("A" + std::to_string(e.virtual_key)); return 0; }), 1);
  EXPECT_EQ(hooks.AddKeyboardCallback("A", [&](const rt::KeyEvent&) { heard.push_back("again"); return 0; }), 0);
  EXPECT_EQ(hooks.AddKeyboardCallback("B", [&](const rt::KeyEvent& e) { heard.push_back("B" + std::to_string(e.virtual_key)); return e.virtual_key == 66 ? 1 : 0; }), 1);
  sim.keyboard_hook.Send(65, rt::kKeyDownMessage);
  sim.keyboard_hook.Send(66, rt::kKeyDownMessage);  // B ends the walk: A does not hear it
  sim.keyboard_hook.Send(67, rt::kKeyDownMessage, /*ours=*/true);
  EXPECT_EQ(heard, (Lines{"B65", "A65", "B66"}));
  hooks.RemoveKeyboardHook();
  EXPECT_FALSE(sim.keyboard_hook.Installed("HOOK类"));
  EXPECT_EQ(hooks.AddKeyboardCallback("A", [&](const rt::KeyEvent&) { heard.push_back("fresh"); return 0; }), 1);
  sim.keyboard_hook.Send(68, rt::kKeyDownMessage);
  EXPECT_EQ(heard.back(), "fresh");
  EXPECT_EQ(heard.size(), 4u);
}

TEST_F(InputSynthesisTest, TheHotkeyRegistryWithdrawsARepeatAndNeverReusesAnId) {
  constexpr int kCtrl = 0x0002;  // the system's MOD_CONTROL
  constexpr int kF1 = 0x70;
  {
    recorder::HOOK类 hooks(p);
    EXPECT_EQ(hooks.RegisterHotkey(10, kF1, kCtrl), 1);
    EXPECT_EQ(sim.hotkeys.Forwarded(), (std::set<std::uintptr_t>{10}));
    EXPECT_EQ(hooks.RegisterHotkey(11, kF1, kCtrl), 2);  // the first is withdrawn
    ASSERT_EQ(hooks.HotkeyTable().size(), 2u);
    EXPECT_EQ(hooks.HotkeyTable()[0].virtual_key, -1);
    EXPECT_EQ(hooks.HotkeyTable()[1].virtual_key, kF1);
    // A refused registration leaves the counter: the next success gets 3.
    sim.hotkeys.TakenByOther(kCtrl, 0x71);
    EXPECT_EQ(hooks.RegisterHotkey(10, 0x71, kCtrl), 0);
    EXPECT_EQ(hooks.RegisterHotkey(10, 0x72, kCtrl), 3);
    EXPECT_EQ(hooks.UnregisterHotkey(3), 1);
    EXPECT_EQ(hooks.UnregisterHotkey(3), 0);  // already withdrawn
    EXPECT_EQ(hooks.UnregisterHotkey(9), 0);
    EXPECT_EQ(hooks.RegisterHotkey(10, 0x72, kCtrl), 4);
  }
  // Destroyed with records left: everything is unregistered and forwarding ends.
  EXPECT_TRUE(sim.hotkeys.Forwarded().empty());
  EXPECT_EQ(sim.log.Of(Action::kHotkeyUnregistered).size(), 4u);
  rt::许可证类 lock;
  lock.Enter();
  lock.Enter();  // the holder may take it again
  lock.Leave();
  lock.Leave();
}

class RecorderTest : public PasteTest {
 protected:
  static constexpr int kF9 = 0x78, kF10 = 0x79, kF11 = 0x7A;
  void SetUp() override {
    PasteTest::SetUp();
    U("记录").SetText("F9");
    U("模拟").SetText("F10");
    U("停止").SetText("F11");
  }
  void SwitchOn() { sim.ui.Click("按钮5"); }
  void Record() { sim.hotkeys.Press(0, kF9); }
  Lines Row(std::size_t row) {
    const auto& cells = app.Events().At(row);
    return Lines(cells.begin(), cells.end());
  }
  std::size_t Rows() { return app.Events().RowCount(); }
  std::vector<std::string> Sounds() {
    Lines out;
    for (const auto& e : sim.log.Of(Action::kSound)) out.push_back(e.detail);
    return out;
  }
};

TEST_F(RecorderTest, SwitchingOnFreesTheBacktickAndRegistersTheRecorderHotkeys) {
  SwitchOn();
  EXPECT_EQ(U("按钮5").Text(), "关闭按键精灵");
  EXPECT_EQ(U("组合框1").Selection(), 6);
  EXPECT_TRUE(U("选择框93").Checked());
  EXPECT_TRUE(sim.hotkeys.IsRegistered(0, kF9));
  EXPECT_TRUE(sim.hotkeys.IsRegistered(0, kF11));
  EXPECT_FALSE(sim.hotkeys.IsRegistered(0, rt::kVkBacktick));
  SwitchOn();  // off again
  EXPECT_EQ(U("按钮5").Text(), "启动按键精灵");
  EXPECT_FALSE(U("选择框93").Checked());
  EXPECT_EQ(U("组合框65").Text(), "30");
}

TEST_F(RecorderTest, ARecordingHoldsTheUsersKeysAndClicksAsRowsAndDropsTheStopPress) {
  SwitchOn();
  Record();
  EXPECT_EQ(U("透明标签16").Text(), "状态：记录已开启");
  EXPECT_EQ(Sounds(), (Lines{"14764"}));
  sim.keyboard_hook.Send(65, rt::kKeyDownMessage);
  sim.keyboard_hook.Send(65, rt::kKeyUpMessage);
  sim.keyboard_hook.Send(9, rt::kSysKeyDownMessage);  // Tab with Alt held
  sim.keyboard_hook.Send(161, rt::kKeyDownMessage);   // right Shift: no name
  sim.keyboard_hook.Send(86, rt::kKeyDownMessage, /*ours=*/true);  // a paste of the program's own
  sim.mouse_hook.Send(rt::kLeftButtonDown, {-1500, 30});
  sim.mouse_hook.Send(0x020A, {0, 0});  // the wheel
  sim.mouse_hook.Send(rt::kLeftButtonUp, {-1490, 31});
  sim.keyboard_hook.Send(kF9, rt::kKeyDownMessage);  // the stop press itself
  Record();
  ASSERT_EQ(Rows(), 6u);
  EXPECT_EQ(Row(0), (Lines{"按键", "A", "按下", "65", "3", "", "", "30"}));
  EXPECT_EQ(Row(1), (Lines{"按键", "A", "放开", "65", "4", "", "", "30"}));
  EXPECT_EQ(Row(2), (Lines{"按键", "Tab", "", "9", "0", "", "", "30"}));
  EXPECT_EQ(Row(3), (Lines{"按键", "", "按下", "161", "3", "", "", "30"}));
  EXPECT_EQ(Row(4), (Lines{"鼠标", "左键按下", "", "-1500", "30", "513", "", "30"}));
  EXPECT_EQ(Row(5), (Lines{"鼠标", "左键放开", "", "-1490", "31", "514", "", "30"}));
  EXPECT_EQ(U("透明标签16").Text(), "状态：记录已停止");
  EXPECT_EQ(Sounds(), (Lines{"14764", "14124"}));
  // Off the hooks: nothing more is recorded.
  sim.keyboard_hook.Send(66, rt::kKeyDownMessage);
  EXPECT_EQ(Rows(), 6u);
}

TEST_F(RecorderTest, RowsThatCameBeforeTheStartSoundEndedAreDroppedAndOriginalSpeedRecordsZero) {
  SwitchOn();
  // The list's text before any item is chosen.
  U("组合框65").SetSelection(-1);
  U("组合框65").SetText("原速");
  ASSERT_EQ(U("组合框65").Text(), "原速");
  // During the start sound a recording slot is ticked: its rows fill the
  // list, and a key is pressed before the hooks listen.
  sim.files.Write(sim.files.InRunDirectory("数据2.txt"), "按键←→B←→按下←→66←→3←→←→←→30←→\r\n");
  sim.clock.AfterMillis(150, [&] {
    sim.ui.Click("选择框95");
    sim.keyboard_hook.Send(88, rt::kKeyDownMessage);
  });
  Record();
  sim.keyboard_hook.Send(89, rt::kKeyDownMessage);
  EXPECT_EQ(Rows(), 1u);
  EXPECT_EQ(Row(0)[1], "Y");
  EXPECT_EQ(Row(0)[7], "0");
}

TEST_F(RecorderTest, TheStatusLineColoursAndBalloonsFollowTheRecorderAndItsHotkeysActOnlyWhenTheyMay) {
  const rt::Colour blue{0, 0, 255}, red{255, 0, 0}, violet{144, 0, 255};
  const auto status = [&] { return std::make_pair(U("透明标签16").Text(), U("透明标签16").TextColour()); };
  Record();  // the recorder is off: the press is ignored
  EXPECT_EQ(status(), std::make_pair(std::string("状态：记录未开启"), blue));
  EXPECT_TRUE(Sounds().empty());
  SwitchOn();
  EXPECT_EQ(U("按钮5").BackColour(), shell::kHighlightColour);
  Record();
  EXPECT_EQ(status(), std::make_pair(std::string("状态：记录已开启"), blue));
  // While recording, replay, its stop and switching off all refuse and say how to stop.
  const std::string ask = "●请按F9停止记录，重新记录！";
  const std::size_t mark = sim.log.Entries().size();
  sim.hotkeys.Press(0, kF10);
  sim.hotkeys.Press(0, kF11);
  SwitchOn();
  sim.clock.Wait(300);
  EXPECT_TRUE(Injected(sim, 0, mark).empty());
  EXPECT_EQ(Balloons(), (Lines{BalloonAt("记录", 30, 300, ask), BalloonAt("记录", 30, 30, ask), BalloonAt("记录", 30, 30, ask)}));
  EXPECT_EQ(U("按钮5").Text(), "关闭按键精灵");
  EXPECT_EQ(U("按钮5").BackColour(), shell::kButtonColour);
  EXPECT_EQ(status().first, "状态：记录已开启");
  sim.keyboard_hook.Send(65, rt::kKeyDownMessage);
  sim.keyboard_hook.Send(kF9, rt::kKeyDownMessage);
  Record();
  EXPECT_EQ(status(), std::make_pair(std::string("状态：记录已停止"), red));
  EXPECT_EQ(Balloons().back(), BalloonAt("按钮59", 30, 30, "●记录完毕，记得【保存】！"));
  // Replay, stopped by its hotkey.
  U("选择框94").SetChecked(true);
  U("组合框64").SetText("3");
  ChooseItem("组合框2", "10");
  sim.hotkeys.Press(0, kF10);
  sim.clock.Wait(30);
  EXPECT_EQ(status(), std::make_pair(std::string("状态：模拟已开启"), violet));
  sim.hotkeys.Press(0, kF11);
  EXPECT_EQ(status(), std::make_pair(std::string("状态：停止模拟"), blue));
  sim.clock.Wait(500);
  // Switching off empties the list and puts the speed and the label back.
  ChooseItem("组合框65", "100");
  SwitchOn();
  EXPECT_EQ(status(), std::make_pair(std::string("状态：记录未开启"), blue));
  EXPECT_EQ(Rows(), 0u);
  EXPECT_EQ(U("透明标签17").Text(), "模拟次数");
  EXPECT_EQ(U("组合框65").Text(), "30");
  // A press in a hotkey box switches the recorder off and says what the box is for.
  SwitchOn();
  sim.ui.Raise("模拟", rt::Event{.kind = rt::EventKind::kMouseDown});
  EXPECT_EQ(U("按钮5").Text(), "启动按键精灵");
  EXPECT_EQ(Balloons().back(), BalloonAt("模拟", 10, 30, "●模拟数据快捷键！"));
  EXPECT_FALSE(sim.hotkeys.IsRegistered(0, kF9));
}

TEST_F(RecorderTest, ANewSpeedRewritesThePressesAndKeepsTheReleases) {
  SwitchOn();
  Record();
  sim.keyboard_hook.Send(65, rt::kKeyDownMessage);
  sim.keyboard_hook.Send(65, rt::kKeyUpMessage);
  sim.mouse_hook.Send(rt::kRightButtonDown, {1, 1});
  sim.mouse_hook.Send(rt::kRightButtonUp, {1, 1});
  sim.keyboard_hook.Send(kF9, rt::kKeyDownMessage);
  Record();
  ChooseItem("组合框65", "1000");
  Lines delays;
  for (std::size_t row = 0; row < Rows(); ++row) delays.push_back(Row(row)[7]);
  EXPECT_EQ(delays, (Lines{"1000", "30", "1000", "30"}));
}

class ReplayTest : public RecorderTest {
 protected:
  // A recording of A pressed and released, with these delays, in slot 1.
  void Prepare(const std::string& press_delay, const std::string& release_delay) {
    SwitchOn();
    app.Events().Append({"按键", "A", "按下", "65", "3", "", "", press_delay});
    app.Events().Append({"鼠标", "左键按下", "", "100", "200", "513", "", release_delay});
    U("选择框94").SetChecked(true);
    ChooseItem("组合框2", "10");
  }
};

TEST_F(ReplayTest, EveryPassPlaysTheRowsAfterTheirDelaysAndCountsInTheLabel) {
  Prepare("100", "0");
  ChooseItem("组合框64", "3");
  ASSERT_EQ(U("组合框64").Text(), "3");
  const std::int64_t t0 = sim.NowMillis();
  const std::size_t mark = sim.log.Entries().size();
  Lines labels;
  for (int at : {150, 300, 450}) sim.clock.AfterMillis(at, [&] { labels.push_back(U("透明标签17").Text()); });
  sim.hotkeys.Press(0, kF10);
  sim.clock.Wait(1000);
  EXPECT_EQ(labels, (Lines{" 第1次", " 第2次", " 第3次"}));
  EXPECT_EQ(Injected(sim, t0, mark),
            (Lines{"+120 65 down", "+120 at 100,200", "+120 left down", "+270 65 down", "+270 at 100,200",
                   "+270 left down", "+420 65 down", "+420 at 100,200", "+420 left down"}));
  EXPECT_EQ(U("透明标签16").Text(), "状态：模拟已开启");
  EXPECT_EQ(U("透明标签17").Text(), " 第3次");
}

TEST_F(ReplayTest, AStopDuringALongDelayStillSendsThatRowThenEnds) {
  Prepare("2000", "0");
  sim.clock.AfterMillis(500, [&] { sim.hotkeys.Press(0, kF11); });
  const std::int64_t t0 = sim.NowMillis();
  const std::size_t mark = sim.log.Entries().size();
  sim.ui.Click("按钮117");
  sim.clock.Wait(3000);
  EXPECT_EQ(Injected(sim, t0, mark), (Lines{"+2010 65 down"}));
  EXPECT_EQ(U("透明标签16").Text(), "状态：停止模拟");
}

TEST_F(ReplayTest, SwitchingTheRecorderOffDuringAReplaySendsNothingMore) {
  Prepare("200", "200");
  ChooseItem("组合框64", "3");
  sim.clock.AfterMillis(300, [&] { SwitchOn(); });
  const std::int64_t t0 = sim.NowMillis();
  const std::size_t mark = sim.log.Entries().size();
  sim.ui.Click("按钮117");
  sim.clock.Wait(3000);
  EXPECT_EQ(Injected(sim, t0, mark), (Lines{"+210 65 down"}));
  EXPECT_EQ(U("按钮5").Text(), "启动按键精灵");
  EXPECT_EQ(U("透明标签16").Text(), "状态：记录未开启");
  // Off and on again during a row's delay: the old replay is over for good,
  // and a new one starts.
  Prepare("200", "200");
  sim.clock.AfterMillis(100, [&] { SwitchOn(); });
  sim.clock.AfterMillis(150, [&] { SwitchOn(); });
  std::size_t mark2 = sim.log.Entries().size();
  sim.ui.Click("按钮117");
  sim.clock.Wait(3000);
  EXPECT_EQ(Injected(sim, sim.NowMillis(), mark2), (Lines{}));
  app.Events().Append({"按键", "A", "按下", "65", "3", "", "", "200"});
  const std::int64_t t1 = sim.NowMillis();
  mark2 = sim.log.Entries().size();
  sim.ui.Click("按钮117");
  sim.clock.Wait(1000);
  EXPECT_EQ(Injected(sim, t1, mark2), (Lines{"+210 65 down", "+460 65 down", "+710 65 down"}));
}

TEST_F(ReplayTest, TheRowSentIsTheRowScheduledAndTheRecordersHotkeysAndBoxesStayInCharge) {
  Prepare("200", "0");
  const auto load = [&](const char* delay) {
    app.Events().Clear();
    app.Events().Append({"按键", "A", "按下", "65", "3", "", "", delay});
  };
  // Stopped while a row waits its delay, and another recording loaded
  // meanwhile: the row scheduled is the one sent.
  sim.clock.AfterMillis(100, [&] {
    sim.hotkeys.Press(0, kF11);
    app.Events().Clear();
    app.Events().Append({"鼠标", "右键按下", "", "5", "5", "516", "", "0"});
  });
  std::int64_t t0 = sim.NowMillis();
  std::size_t mark = sim.log.Entries().size();
  sim.ui.Click("按钮117");
  sim.clock.Wait(1000);
  EXPECT_EQ(Injected(sim, t0, mark), (Lines{"+210 65 down"}));
  // The record hotkey during a replay records nothing of it.
  load("2000");
  sim.clock.AfterMillis(100, [&] { sim.hotkeys.Press(0, kF9); });
  sim.ui.Click("按钮117");
  sim.clock.Wait(500);
  EXPECT_EQ(U("透明标签16").Text(), "状态：模拟已开启");
  EXPECT_NE(sim.log.Of(Action::kBalloon).back().detail.find("●请按F11停止模拟，再记录！"), std::string::npos);
  sim.clock.Wait(2000);
  // A press on a recorder hotkey box frees the stop hotkey: the replay
  // ends there, nothing more is sent.
  load("200");
  ChooseItem("组合框64", "3");
  sim.clock.AfterMillis(100, [&] { sim.ui.MouseDown("停止"); });
  t0 = sim.NowMillis();
  mark = sim.log.Entries().size();
  sim.ui.Click("按钮117");
  sim.clock.Wait(3000);
  EXPECT_EQ(Injected(sim, t0, mark), (Lines{}));
}

TEST_F(ReplayTest, ClosingTheWindowSendsNothingMoreNotEvenARowAlreadyDue) {
  Prepare("2000", "2000");
  ChooseItem("组合框64", "3");
  sim.clock.AfterMillis(2500, [&] { sim.ui.Close(); });
  const std::int64_t t0 = sim.NowMillis();
  const std::size_t mark = sim.log.Entries().size();
  sim.ui.Click("按钮117");
  sim.clock.Wait(20000);
  EXPECT_EQ(Injected(sim, t0, mark), (Lines{"+2010 65 down"}));
  EXPECT_FALSE(U("选择框93").Checked());
}

TEST_F(ReplayTest, AReplayedPressThatStartsAModalLoopStillGetsItsRelease) {
  // A press on the window's own title bar: the system's move loop runs the
  // window's events until the button comes up, or (for the test) 5 s.
  SwitchOn();
  app.Events().Append({"鼠标", "左键按下", "", "100", "5", "513", "", "100"});
  app.Events().Append({"鼠标", "左键放开", "", "100", "5", "514", "", "100"});
  U("选择框94").SetChecked(true);
  ChooseItem("组合框2", "10");
  bool released = false;
  std::int64_t loop_ended = -1;
  sim.injector.OnButton([&](const std::string& button) {
    if (button == "left up") released = true;
    if (button != "left down") return;
    sim.clock.AfterMillis(0, [&] {  // the window's loop takes the press
      const std::int64_t deadline = sim.NowMillis() + 5000;
      while (!released && sim.NowMillis() < deadline) sim.clock.Wait(10);
      loop_ended = sim.NowMillis();
    });
  });
  const std::int64_t t0 = sim.NowMillis();
  const std::size_t mark = sim.log.Entries().size();
  sim.ui.Click("按钮117");
  sim.clock.Wait(6000);
  EXPECT_EQ(Injected(sim, t0, mark), (Lines{"+110 at 100,5", "+110 left down", "+210 at 100,5", "+210 left up"}));
  EXPECT_EQ(loop_ended - t0, 210);
}

TEST_F(ReplayTest, ARepeatCountOfZeroOrNoNumberPlaysNothingAndCellsThatAreNoNumberPlayAsZero) {
  Prepare("0", "0");
  for (const char* count : {"0", "abc", ""}) {
    U("组合框64").SetText(count);
    const std::size_t mark = sim.log.Entries().size();
    sim.ui.Click("按钮117");
    sim.clock.Wait(300);
    EXPECT_TRUE(Injected(sim, 0, mark).empty()) << count;
  }
  // A key row with no state taps its key; a mouse row with no code only
  // moves; a delay that is no number waits nothing; "2.9" truncates to 2.
  app.Events().Clear();
  app.Events().Append({"按键", "A", "", "65", "x", "", "", "slow"});
  app.Events().Append({"鼠标", "?", "", "7", "8", "zz", "", ""});
  app.Events().Append({"按键", "B", "", "66", "3.9", "", "", "2.9"});
  U("组合框64").SetText("1");
  const std::size_t mark = sim.log.Entries().size();
  const std::int64_t t0 = sim.NowMillis();
  sim.ui.Click("按钮117");
  sim.clock.Wait(300);
  EXPECT_EQ(Injected(sim, t0, mark), (Lines{"+10 65 down", "+10 65 up", "+10 at 7,8", "+12 66 down"}));
}

TEST_F(ReplayTest, NothingReplaysWithoutATickedSlotWhileRecordingOrTwiceAtOnce) {
  Prepare("100", "0");
  U("选择框94").SetChecked(false);
  std::size_t mark = sim.log.Entries().size();
  sim.ui.Click("按钮117");
  sim.hotkeys.Press(0, kF10);
  sim.clock.Wait(500);
  EXPECT_TRUE(Injected(sim, 0, mark).empty());
  // A second start during the first replay's waits is refused.
  U("选择框94").SetChecked(true);
  sim.clock.AfterMillis(50, [&] { sim.ui.Click("按钮117"); });
  mark = sim.log.Entries().size();
  const std::int64_t t0 = sim.NowMillis();
  sim.ui.Click("按钮117");
  sim.clock.Wait(500);
  EXPECT_EQ(Injected(sim, t0, mark), (Lines{"+110 65 down", "+110 at 100,200", "+110 left down"}));
}

}  // namespace
}  // namespace tovan
