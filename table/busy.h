// One file action at a time. A file action's long jobs let the window's
// events run; a click that would start another file action meanwhile (open
// a slot while one loads, save while one saves, clear, drop) is ignored, so
// that no two actions interleave on the same rows or files.
#pragma once

#include <functional>

namespace tovan::table {

class Busy {
 public:
  bool Now() const { return busy_; }
  // Called each time a file action has ended (work held back for it).
  std::function<void()> when_idle = [] {};

  // Marks the action under way for as long as it lives.
  class Scope {
   public:
    explicit Scope(Busy& busy) : busy_(busy) { busy_.busy_ = true; }
    ~Scope() {
      busy_.busy_ = false;
      busy_.when_idle();
    }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    Busy& busy_;
  };

 private:
  bool busy_ = false;
};

}  // namespace tovan::table
