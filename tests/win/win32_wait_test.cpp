#include "runtime/timer_wait.h"
#include "tests/win/win32_fixture.h"

namespace tovan::rt::win32 {
namespace {

using Win32WaitTest = Win32Test;

TEST_F(Win32WaitTest, AClickDuringAWaitIsHandledInsideIt) {
  bool clicked_inside = false;
  bool waiting = false;
  platform->ui.Bind("按钮", EventKind::kClicked, [&](const Event&) { clicked_inside = waiting; });
  PostMessageW(Control("按钮"), BM_CLICK, 0, 0);
  waiting = true;
  platform->clock.Wait(100);
  waiting = false;
  EXPECT_TRUE(clicked_inside);
}

TEST_F(Win32WaitTest, AWaitLastsAtLeastItsTime) {
  for (int ms : {10, 50, 100}) {
    const std::int64_t start = platform->clock.NowMicros();
    platform->clock.Wait(ms);
    EXPECT_GE(platform->clock.NowMicros() - start, std::int64_t{ms} * 1000) << ms;
    const std::int64_t moment = platform->clock.NowMicros() + std::int64_t{ms} * 1000;
    platform->clock.WaitUntil(moment);
    EXPECT_GE(platform->clock.NowMicros(), moment) << ms;
  }
}

TEST_F(Win32WaitTest, NestedWaitsFromAReenteredHandlerBothComplete) {
  int depth = 0;
  int deepest = 0;
  platform->ui.Bind("按钮", EventKind::kClicked, [&](const Event&) {
    ++depth;
    deepest = std::max(deepest, depth);
    platform->clock.Wait(30);
    --depth;
  });
  PostMessageW(Control("按钮"), BM_CLICK, 0, 0);
  PostMessageW(Control("按钮"), BM_CLICK, 0, 0);
  platform->clock.Wait(150);
  EXPECT_EQ(depth, 0);
  EXPECT_EQ(deepest, 2);
}

TEST_F(Win32WaitTest, ATimerWaitLastsItsTimeInEveryUnitAndKeepsTheWindowAlive) {
  bool clicked_inside = false;
  bool waiting = false;
  platform->ui.Bind("按钮", EventKind::kClicked, [&](const Event&) { clicked_inside = waiting; });
  PostMessageW(Control("按钮"), BM_CLICK, 0, 0);
  waiting = true;
  std::int64_t start = platform->clock.NowMicros();
  TimerWait(platform->clock, 60);
  waiting = false;
  EXPECT_GE(platform->clock.NowMicros() - start, 60'000);
  EXPECT_TRUE(clicked_inside);
  start = platform->clock.NowMicros();
  TimerWait(platform->clock, 1500, 1);
  EXPECT_GE(platform->clock.NowMicros() - start, 1'500);
  start = platform->clock.NowMicros();
  TimerWait(platform->clock, -100);  // a moment already past
  EXPECT_LT(platform->clock.NowMicros() - start, 1'000'000);
}

TEST_F(Win32WaitTest, ZeroAndNegativeWaitsStillRunWaitingEvents) {
  int clicks = 0;
  platform->ui.Bind("按钮", EventKind::kClicked, [&](const Event&) { ++clicks; });
  PostMessageW(Control("按钮"), BM_CLICK, 0, 0);
  platform->clock.Wait(0);
  PostMessageW(Control("按钮"), BM_CLICK, 0, 0);
  platform->clock.Wait(-10);
  PostMessageW(Control("按钮"), BM_CLICK, 0, 0);
  platform->clock.WaitUntil(platform->clock.NowMicros() - 1000);  // a moment already past
  EXPECT_EQ(clicks, 3);
}

}  // namespace
}  // namespace tovan::rt::win32
