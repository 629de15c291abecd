#include "runtime/timer_wait.h"

#include <gtest/gtest.h>

#include <limits>

#include "runtime/sim/virtual_clock.h"

namespace tovan::rt {
namespace {

TEST(TimerDueTicks, EveryUnitCodeGivesItsRelativeDueTime) {
  EXPECT_EQ(TimerDueTicks(200), -2'000'000);         // milliseconds by default
  EXPECT_EQ(TimerDueTicks(200, 0), -2'000'000);
  EXPECT_EQ(TimerDueTicks(1500, 1), -15'000);        // microseconds: 1.5 ms
  EXPECT_EQ(TimerDueTicks(3, 2), -30'000'000);       // seconds
  EXPECT_EQ(TimerDueTicks(2, 3), -1'200'000'000);    // minutes
  EXPECT_EQ(TimerDueTicks(1, 4), -36'000'000'000);   // hours
  EXPECT_EQ(TimerDueTicks(1, 5), -864'000'000'000);  // days
  EXPECT_EQ(TimerDueTicks(3, 7), -210'000);          // any other code is its own multiplier
  EXPECT_EQ(TimerDueTicks(5, -2), 100'000);          // a negative multiplier: a moment already past
  EXPECT_EQ(TimerDueTicks(0, 2), 0);
}

TEST(TimerDueTicks, TheProductIsFormedInDoublesAndKeptInRange) {
  EXPECT_EQ(TimerDueTicks(2'147'483'647, 5), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(TimerDueTicks(-2'147'483'647 - 1, 5), std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(TimerDueTicks(2'147'483'647, 0), -21'474'836'470'000);
  EXPECT_EQ(TimerDueTicks(-7, 1), 70);
}

TEST(TimerWait, WaitsOnTheVirtualClockAndRunsEventsOnTheWay) {
  sim::VirtualClock clock;
  bool ran = false;
  clock.AfterMillis(1, [&] { ran = true; });
  TimerWait(clock, 1500, 1);
  EXPECT_EQ(clock.NowMicros(), 1500);
  EXPECT_TRUE(ran);
  TimerWait(clock, 3, 2);
  EXPECT_EQ(clock.NowMicros(), 3'001'500);
  TimerWait(clock, -5);  // already past: returns at once
  EXPECT_EQ(clock.NowMicros(), 3'001'500);
}

}  // namespace
}  // namespace tovan::rt
