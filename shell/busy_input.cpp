#include "shell/busy_input.h"

#include <utility>

namespace tovan::shell {

void BusyInput::Press(Kind kind, std::function<void()> press) {
  if (kind == Kind::kAtOnce || (kind == Kind::kAutomaticPress && automatic_under_way_)) {
    press();
    return;
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
