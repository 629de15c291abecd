#include "shell/busy_input.h"

#include <algorithm>
#include <utility>

namespace tovan::shell {

void BusyInput::Press(Kind kind, std::function<void()> press, std::function<void()> stop) {
  if (kind == Kind::kAtOnce) {
    press();
    return;
  }
  if (kind == Kind::kAutomaticPress) {
    if (automatic_under_way_) {
      if (stop) stop();
      return;
    }
    const auto waiting = std::find_if(waiting_.begin(), waiting_.end(),
                                      [](const Waiting& w) { return w.kind == Kind::kAutomaticPress; });
    if (waiting != waiting_.end()) {
      waiting_.erase(waiting);  // stopped before it started
      return;
    }
  }
  if (under_way_) {
    if (waiting_.size() < kMaxWaiting) waiting_.push_back({kind, std::move(press)});
    return;
  }
  under_way_ = true;
  automatic_under_way_ = kind == Kind::kAutomaticPress;
  press();
  while (!waiting_.empty() && !ui_.Destroyed()) {
    Waiting next = std::move(waiting_.front());
    waiting_.pop_front();
    automatic_under_way_ = next.kind == Kind::kAutomaticPress;
    next.press();
  }
  waiting_.clear();
  under_way_ = false;
  automatic_under_way_ = false;
}

}  // namespace tovan::shell
