// Time and waits. A wait keeps the window's events flowing: events that
// arrive during the wait (a hotkey press, a click, a timer tick) run inside
// it, so a handler that waits can be re-entered.
#pragma once

#include <cstdint>

namespace tovan::rt {

class Clock {
 public:
  virtual ~Clock() = default;
  // Microseconds since an arbitrary start; never goes back.
  virtual std::int64_t NowMicros() const = 0;
  // Runs waiting events, waits `ms` milliseconds while events keep running,
  // then runs waiting events again. Zero or less waits no time.
  virtual void Wait(int ms) = 0;
  // Runs waiting events, waits until the clock reads `micros` (no time when
  // that moment is past) while events keep running, then runs waiting
  // events again. Time spent running events counts toward the wait.
  virtual void WaitUntil(std::int64_t micros) = 0;
  // Waits until a waitable-timer due time (100-nanosecond ticks; negative is
  // relative to now, zero or positive is a moment already past) while the
  // window's events keep running.
  virtual void WaitDue(std::int64_t due_ticks) = 0;
};

}  // namespace tovan::rt
