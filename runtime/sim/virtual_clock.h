// A clock that moves only when the program waits. Events scheduled for a
// virtual moment run inside the wait that passes that moment, in time order
// (and in scheduling order for equal times), exactly where the real event
// pump would run them, so re-entry during waits is deterministic.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <utility>

#include "runtime/clock.h"

namespace tovan::rt::sim {

class VirtualClock : public Clock {
 public:
  std::int64_t NowMicros() const override { return now_; }
  void Wait(int ms) override;
  void WaitUntil(std::int64_t micros) override;
  void WaitDue(std::int64_t due_ticks) override;

  // Schedules `event` at the absolute virtual time (never before now).
  void At(std::int64_t micros, std::function<void()> event);
  void AfterMillis(int ms, std::function<void()> event) { At(now_ + std::int64_t{ms} * 1000, std::move(event)); }

  // Runs every event due at or before now, including those they schedule for now.
  void RunDue();
  // Lets virtual time pass up to `micros`, running the events on the way.
  void AdvanceTo(std::int64_t micros);
  bool HasPending() const { return !queue_.empty(); }
  std::int64_t NextDue() const { return queue_.empty() ? -1 : queue_.begin()->first.first; }

 private:
  std::int64_t now_ = 0;
  std::uint64_t sequence_ = 0;
  std::map<std::pair<std::int64_t, std::uint64_t>, std::function<void()>> queue_;
};

}  // namespace tovan::rt::sim
