// What happens to input that arrives while the tool is still busy with
// earlier input. Work that waits lets the window's events run, so without a
// rule a press would run inside the wait of the one before it: one row
// pasted twice and the next skipped, a copy interleaved with a paste. The
// rule, in one place:
// - A hotkey press (a row hotkey or the backtick) that arrives while another
//   is under way waits its turn and runs after it: two quick taps paste rows
//   r and r+1, each once, in order.
// - Except a row press in an automatic mode while an automatic press is
//   under way: it stops that run at once, and pressed again while the stop
//   is pending it does nothing more. One made while an automatic press
//   still waits its turn stops that run before it starts: neither runs.
// - Each press belongs to the window in front when it arrived; one whose
//   window has left the front by its turn sends nothing (paste::PasteEngine,
//   paste::Backtick).
// - The recorder's hotkeys run at once: recording and replay run between
//   the window's events and never hold a press up.
// - Mouse and keyboard events heard by the hooks are handled one at a time
//   in arrival order (the window's job queue, rt::JobQueue).
// - A backtick copy into the table while a slot opens or saves, or a drop
//   imports, keeps its text and adds the rows once that action has ended
//   (paste::Backtick).
// - Once the window is gone, nothing that waited runs.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>

#include "runtime/ui.h"

namespace tovan::shell {

class BusyInput {
 public:
  enum class Kind { kPress, kAutomaticPress, kAtOnce };

  explicit BusyInput(rt::Ui& ui) : ui_(ui) {}
  // Runs the press now, or after the presses under way. `stop` is what an
  // automatic press does while another is under way.
  void Press(Kind kind, std::function<void()> press, std::function<void()> stop = {});

  // Presses kept waiting at most: a held key's auto-repeat cannot pile up
  // more rows than a user could mean.
  static constexpr std::size_t kMaxWaiting = 20;

 private:
  struct Waiting {
    Kind kind;
    std::function<void()> press;
  };
  rt::Ui& ui_;
  std::deque<Waiting> waiting_;
  bool under_way_ = false;
  bool automatic_under_way_ = false;
};

}  // namespace tovan::shell
