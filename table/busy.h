// One file action at a time. A file action's long jobs let the window's
// events run; a click that would start another file action meanwhile (open
// a slot while one loads, save while one saves, clear) is ignored, so that no
// two actions interleave on the same rows or files; a drop or a copy made
// meanwhile is held and added once the action has ended.
#pragma once

#include <functional>
#include <vector>

namespace tovan::table {

class Busy {
 public:
  bool Now() const { return busy_; }
  // Calls `then` each time a file action has ended (work held back for it),
  // in the order the listeners were added.
  void WhenIdle(std::function<void()> then) { when_idle_.push_back(std::move(then)); }

  // Marks the action under way for as long as it lives.
  class Scope {
   public:
    explicit Scope(Busy& busy) : busy_(busy) { busy_.busy_ = true; }
    ~Scope() {
      busy_.busy_ = false;
      for (const auto& then : busy_.when_idle_) then();
    }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    Busy& busy_;
  };

 private:
  bool busy_ = false;
  std::vector<std::function<void()>> when_idle_;
};

}  // namespace tovan::table
