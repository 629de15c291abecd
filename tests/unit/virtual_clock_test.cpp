#include "runtime/sim/virtual_clock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/sim/sim_platform.h"

namespace tovan::rt::sim {
namespace {

TEST(VirtualClock, AWaitRunsTheEventsOfItsSpanInTimeOrder) {
  VirtualClock clock;
  std::vector<std::string> story;
  clock.AfterMillis(30, [&] { story.push_back("b@" + std::to_string(clock.NowMicros() / 1000)); });
  clock.AfterMillis(10, [&] { story.push_back("a@" + std::to_string(clock.NowMicros() / 1000)); });
  clock.AfterMillis(30, [&] { story.push_back("c@" + std::to_string(clock.NowMicros() / 1000)); });
  clock.AfterMillis(150, [&] { story.push_back("late"); });
  clock.Wait(100);
  EXPECT_EQ(story, (std::vector<std::string>{"a@10", "b@30", "c@30"}));
  EXPECT_EQ(clock.NowMicros(), 100'000);
  clock.Wait(50);
  EXPECT_EQ(story.back(), "late");
}

TEST(VirtualClock, EventsRunNestedInsideTheWaitThatPassesThem) {
  VirtualClock clock;
  int depth = 0;
  std::vector<std::string> story;
  auto handler = [&](const std::string& name) {
    ++depth;
    story.push_back(name + " in at " + std::to_string(clock.NowMicros() / 1000) + " depth " + std::to_string(depth));
    clock.Wait(100);
    story.push_back(name + " out at " + std::to_string(clock.NowMicros() / 1000));
    --depth;
  };
  clock.At(0, [&] { handler("first"); });
  clock.At(50'000, [&] { handler("second"); });
  clock.RunDue();
  EXPECT_EQ(story, (std::vector<std::string>{"first in at 0 depth 1", "second in at 50 depth 2", "second out at 150",
                                              "first out at 150"}));
}

TEST(VirtualClock, ZeroAndNegativeWaitsPassNoTimeButRunDueEvents) {
  VirtualClock clock;
  bool ran = false;
  clock.At(0, [&] { ran = true; });
  clock.Wait(-5);
  EXPECT_TRUE(ran);
  EXPECT_EQ(clock.NowMicros(), 0);
}

TEST(VirtualClock, AnEventScheduledInThePastRunsAtTheNextPump) {
  VirtualClock clock;
  clock.Wait(10);
  std::int64_t ran_at = -1;
  clock.At(0, [&] { ran_at = clock.NowMicros(); });
  clock.RunDue();
  EXPECT_EQ(ran_at, 10'000);
}

TEST(SimPlatformStory, AHotkeyPressRunsInsideAWaitAndTheLogCarriesVirtualTimes) {
  SimPlatform sim;
  sim.ui.Build(WindowLayout{.title = "w", .width = 100, .height = 100},
               {UnitLayout{.name = "标签1", .kind = UnitKind::kHotkeyReceiver}});
  const int id = sim.hotkeys.Register("标签1", kCtrl, '1');
  ASSERT_NE(id, 0);
  int presses = 0;
  sim.ui.Bind("标签1", EventKind::kHotkey, [&](const Event& e) {
    ASSERT_EQ(e.code, id);
    ++presses;
    sim.clipboard.SetText("row " + std::to_string(presses));
    sim.clock.Wait(100);
    sim.keys.Chord({kVkControl, 'V'});
  });
  sim.clock.AfterMillis(0, [&] { sim.hotkeys.Press(kCtrl, '1'); });
  sim.clock.AfterMillis(50, [&] { sim.hotkeys.Press(kCtrl, '1'); });  // arrives during the first wait
  sim.clock.Wait(500);
  ASSERT_EQ(presses, 2);
  std::vector<std::pair<std::int64_t, std::string>> story;
  for (const LoggedAction& a : sim.log.Entries())
    if (a.action == Action::kClipboardText || a.action == Action::kChord) story.emplace_back(a.Millis(), a.detail);
  EXPECT_EQ(story, (std::vector<std::pair<std::int64_t, std::string>>{
                       {0, "row 1"}, {50, "row 2"}, {150, "Ctrl+V"}, {150, "Ctrl+V"}}));
}

}  // namespace
}  // namespace tovan::rt::sim
