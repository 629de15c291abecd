#include "runtime/job_queue.h"

#include <utility>

namespace tovan::rt {

bool JobQueue::Post(std::function<void()> job) {
  std::lock_guard lock(lock_);
  jobs_.push_back(std::move(job));
  return jobs_.size() == 1;
}

void JobQueue::RunPending() {
  if (running_) return;
  running_ = true;
  for (;;) {
    std::function<void()> job;
    {
      std::lock_guard lock(lock_);
      if (jobs_.empty()) break;
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    job();
  }
  running_ = false;
}

}  // namespace tovan::rt
