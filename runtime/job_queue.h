// Work handed to the window thread from outside its own events (what the
// input hooks heard), run one job at a time in the order it arrived. A job
// that waits lets the window's events run, but the jobs queued behind it
// wait their turn: a nested wait never overtakes an older job, so a button
// release is never handled before the press that came first.
#pragma once

#include <deque>
#include <functional>
#include <mutex>

namespace tovan::rt {

class JobQueue {
 public:
  // Any thread. True when the window thread has to be woken to call
  // RunPending (the queue was empty).
  bool Post(std::function<void()> job);
  // The window thread: runs the queued jobs in order until none is left.
  // Called again inside a running job (from a wait), it returns at once and
  // the outer call takes the newer jobs after the one under way.
  void RunPending();
  bool Running() const { return running_; }

 private:
  std::mutex lock_;
  std::deque<std::function<void()>> jobs_;
  bool running_ = false;  // the window thread only
};

}  // namespace tovan::rt
