// Waits that keep the window alive: the wait sleeps on a high-resolution
// waitable timer and runs the window's messages whenever they arrive.
#pragma once

#include "runtime/clock.h"
#include "runtime/ui.h"

namespace tovan::rt::win32 {

class Win32Clock : public Clock {
 public:
  explicit Win32Clock(Ui& ui);
  std::int64_t NowMicros() const override;
  // The same clock for code without the object (a hook procedure, on any
  // thread).
  static std::int64_t Micros();
  void Wait(int ms) override;
  void WaitUntil(std::int64_t micros) override;
  void WaitDue(std::int64_t due_ticks) override;

 private:
  // The last part of a wait, waited out without a timer.
  static constexpr std::int64_t kFinishMicros = 1'500;
  // Waits until `deadline` (microseconds of NowMicros) while events run.
  void SleepUntil(std::int64_t deadline);
  Ui& ui_;
};

}  // namespace tovan::rt::win32
