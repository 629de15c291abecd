#include "runtime/sim/virtual_clock.h"

#include <algorithm>

namespace tovan::rt::sim {

void VirtualClock::At(std::int64_t micros, std::function<void()> event) {
  queue_.emplace(std::pair{std::max(micros, now_), sequence_++}, std::move(event));
}

void VirtualClock::RunDue() { AdvanceTo(now_); }

void VirtualClock::AdvanceTo(std::int64_t micros) {
  while (!queue_.empty() && queue_.begin()->first.first <= micros) {
    auto node = queue_.extract(queue_.begin());
    now_ = std::max(now_, node.key().first);
    node.mapped()();
  }
  // A nested wait inside an event may already have moved past `micros`.
  now_ = std::max(now_, micros);
}

void VirtualClock::Wait(int ms) {
  RunDue();
  if (ms > 0) AdvanceTo(now_ + std::int64_t{ms} * 1000);
  RunDue();
}

void VirtualClock::WaitUntil(std::int64_t micros) {
  RunDue();
  AdvanceTo(micros);
  RunDue();
}

void VirtualClock::WaitDue(std::int64_t due_ticks) {
  RunDue();
  if (due_ticks < 0) AdvanceTo(now_ + (due_ticks == INT64_MIN ? INT64_MAX / 10 : -due_ticks / 10));
  RunDue();
}

}  // namespace tovan::rt::sim
