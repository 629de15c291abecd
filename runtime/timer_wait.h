// The waitable-timer wait of the input tools: an amount in a unit, turned
// into a due time of 100-nanosecond ticks (negative: relative to now).
#pragma once

#include <cstdint>

#include "runtime/clock.h"

namespace tovan::rt {

// Unit codes: 0 milliseconds (also any value not listed, see below),
// 1 microseconds, 2 seconds, 3 minutes, 4 hours, 5 days; any other code is
// itself the multiplier to milliseconds.
std::int64_t TimerDueTicks(std::int32_t amount, std::int32_t unit = 0);

// Waits on a waitable timer for that long while the window's events keep
// running.
inline void TimerWait(Clock& clock, std::int32_t amount, std::int32_t unit = 0) {
  clock.WaitDue(TimerDueTicks(amount, unit));
}

}  // namespace tovan::rt
