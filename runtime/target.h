// The program being filled, watched from outside while a paste waits on it:
// whether its window's thread answers, which control has its keyboard
// focus, and what a standard field holds. Nothing here ever waits on the
// program: a program that does not answer is simply seen as not answering.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tovan::rt {

// A field's text and selection (character positions), as read from outside.
struct FieldState {
  std::string text;
  int selection_start = 0;
  int selection_end = 0;
  friend bool operator==(const FieldState&, const FieldState&) = default;
};

class Target {
 public:
  virtual ~Target() = default;
  // Whether the thread of the window handles messages sent to it: false
  // while a message sent to it has waited unanswered for a moment. Sends
  // such a message now and then; returns at once.
  virtual bool Answering(std::uintptr_t window) = 0;
  // The control with the keyboard focus in the thread of the window (0
  // for none, or when it cannot be seen).
  virtual std::uintptr_t FocusOf(std::uintptr_t window) const = 0;
  // The top-level window a window belongs to (itself when it is one; 0
  // for none).
  virtual std::uintptr_t TopLevelOf(std::uintptr_t window) const = 0;
  // Whether the control is a field of its own that the focus leaves by
  // Tab (an edit, rich edit or combo box's edit), rather than a window
  // that draws a whole page and moves its own focus inside.
  virtual bool IsField(std::uintptr_t control) const = 0;
  // The text and selection of an edit or rich edit control, each read with
  // a short time limit; nothing for a control of another kind, a password
  // field, or one that did not answer in time.
  virtual std::optional<FieldState> ReadField(std::uintptr_t control) = 0;
  // Whether the control, read as ReadField reads it, holds just this state
  // (its length and selection are asked first: a paste changes them).
  virtual bool FieldIs(std::uintptr_t control, const FieldState& state) { return ReadField(control) == state; }
};

}  // namespace tovan::rt
