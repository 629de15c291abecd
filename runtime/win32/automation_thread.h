// The thread every automation call runs on, so that an office program that
// stops answering holds up only this thread. The window thread waits for a
// call with its events running, and gives the call up after a time limit;
// until that call comes back, every further call fails at once.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "runtime/ui.h"

namespace tovan::rt::win32 {

class AutomationThread {
 public:
  explicit AutomationThread(Ui& ui);
  // Ends the thread; one still inside a call that never came back is left
  // behind, so that closing the program never waits for it.
  ~AutomationThread();
  AutomationThread(const AutomationThread&) = delete;
  AutomationThread& operator=(const AutomationThread&) = delete;

  // Runs `call` on the thread and gives its result; empty when it was given
  // up after `limit_ms`, or could not start because another call is still
  // under way (one given up, or one this call's wait runs inside). `call` must own what it works on: once given up, it
  // may still run after this returns.
  template <class R>
  std::optional<R> Call(std::function<R()> call, int limit_ms) {
    auto result = std::make_shared<std::optional<R>>();
    if (!Run([call = std::move(call), result] { *result = call(); }, limit_ms)) return std::nullopt;
    return std::move(*result);
  }
  // Runs the job on the thread without waiting for it (a release).
  void Post(std::function<void()> job);
  // A call was given up and has not come back yet.
  bool Hung() const;

 private:
  struct Shared {
    std::mutex lock;
    std::condition_variable wake;
    std::deque<std::function<void()>> jobs;
    bool quit = false;
    bool calling = false;  // a call is under way (waited for, or given up)
    bool hung = false;     // the call under way was given up
  };
  bool Run(std::function<void()> job, int limit_ms);
  // Waits for the event until `limit_ms` have passed, running the window's events.
  bool WaitRunningEvents(HANDLE event, int limit_ms);

  Ui& ui_;
  std::shared_ptr<Shared> shared_;
  std::thread thread_;
};

}  // namespace tovan::rt::win32
