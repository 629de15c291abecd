#include "runtime/sim/sim_target.h"

#include <algorithm>

#include "runtime/sim/sim_services.h"

namespace tovan::rt::sim {

void SimTarget::PauseAt(int at_ms, int ms, bool answering) {
  const std::int64_t from = std::int64_t{at_ms} * 1000;
  pauses_.push_back({from, from + std::int64_t{ms} * 1000, answering});
}

std::int64_t SimTarget::FreeAt(std::int64_t t) const {
  for (bool moved = true; moved;) {
    moved = false;
    for (const Pause& pause : pauses_)
      if (pause.from <= t && t < pause.to) {
        t = pause.to;
        moved = true;
      }
  }
  return t;
}

void SimTarget::Key(const std::string& chord) {
  if (chord != "Ctrl+V" && chord != "Tab" && chord != "Enter") return;
  input_.push_back({true, chord});
  Schedule();
}

void SimTarget::Typed(const std::string& text) {
  input_.push_back({false, text});
  Schedule();
}

void SimTarget::Posted(const std::string& text) {
  posted_.push_back({false, text});
  Schedule();
}

void SimTarget::Schedule() {
  if (scheduled_ || (input_.empty() && posted_.empty())) return;
  scheduled_ = true;
  clock_.At(FreeAt(clock_.NowMicros()), [this] { HandleNext(); });
}

void SimTarget::HandleNext() {
  scheduled_ = false;
  // A pause that began after this was scheduled holds it up too.
  if (FreeAt(clock_.NowMicros()) != clock_.NowMicros()) {
    Schedule();
    return;
  }
  // Posted messages are taken before queued input.
  std::deque<Item>& queue = posted_.empty() ? input_ : posted_;
  const Item item = queue.front();
  queue.pop_front();
  Handle(item);
  Schedule();
}

void SimTarget::Handle(const Item& item) {
  if (!item.key) {
    received_ += item.what;
    return;
  }
  if (item.what == "Ctrl+V") {
    if (ignore_pastes_) return;
    // A clipboard held by another program cannot be opened: nothing pasted.
    if (const std::optional<std::string> content = clipboard_.ReadForPaste()) {
      ++reads_;
      if (discard_ > 0)
        --discard_;
      else
        received_ += *content;
    }
    return;
  }
  if (item.what == "Tab") {
    received_ += "\t";
    if (fields_of_their_own_) {
      ++field_;
      field_start_ = received_.size();
    }
  } else {
    received_ += "\r\n";
  }
  ++keys_;
  if (busy_ms_ > 0 && (busy_nth_ == 0 || busy_nth_ == keys_)) {
    const std::int64_t now = clock_.NowMicros();
    pauses_.push_back({now, now + std::int64_t{busy_ms_} * 1000, false});
  }
}

bool SimTarget::Answering(std::uintptr_t) {
  const std::int64_t now = clock_.NowMicros();
  return std::none_of(pauses_.begin(), pauses_.end(),
                      [now](const Pause& p) { return !p.answering && p.from <= now && now < p.to; });
}

std::uintptr_t SimTarget::FocusOf(std::uintptr_t) const { return kFirstField + static_cast<std::uintptr_t>(field_); }

std::uintptr_t SimTarget::TopLevelOf(std::uintptr_t window) const {
  const auto it = top_levels_.find(window);
  return it == top_levels_.end() ? window : it->second;
}

std::optional<FieldState> SimTarget::ReadField(std::uintptr_t control) {
  if (!readable_ || control != FocusOf(0) || !Answering(0)) return std::nullopt;
  const int end = static_cast<int>(received_.size() - field_start_);
  return FieldState{received_.substr(field_start_), end, end};
}

}  // namespace tovan::rt::sim
