// Work that would hold up the window (reading, converting and writing large
// files) runs away from the window thread, while the window's events keep
// running as in a wait. A job never touches window units: it works on what
// it was given and leaves its results where the caller can read them.
#pragma once

#include <functional>
#include <initializer_list>

namespace tovan::rt {

class Worker {
 public:
  virtual ~Worker() = default;
  // Runs the jobs side by side, each off the window thread, and returns
  // once all have finished; events that arrive meanwhile run inside this
  // call, as in Clock::Wait.
  virtual void RunTogether(std::initializer_list<std::function<void()>> jobs) = 0;
  void Run(const std::function<void()>& job) { RunTogether({job}); }
};

}  // namespace tovan::rt
