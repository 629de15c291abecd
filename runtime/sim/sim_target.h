// The program in front, as the paste engine meets it on the simulated
// platform: a form that takes what is sent to it in the order a real
// program's thread takes it (messages posted to it before queued keys), one
// thing at a time, pausing while it is busy or frozen, and pasting by
// reading the clipboard only when it gets to the Ctrl+V.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "runtime/target.h"
#include "runtime/sim/virtual_clock.h"

namespace tovan::rt::sim {

class SimClipboard;

class SimTarget : public Target {
 public:
  SimTarget(VirtualClock& clock, SimClipboard& clipboard) : clock_(clock), clipboard_(clipboard) {}

  // Everything the program took, in order: pasted texts ("<picture>" for a
  // picture), "\t" for a Tab, "\r\n" for an Enter, typed and posted text.
  const std::string& Received() const { return received_; }
  // How often a paste read the clipboard.
  int Reads() const { return reads_; }

  // Busy for `ms` (handling and answering nothing) after each Tab or Enter
  // it handles; with `nth`, only after the nth one.
  void BusyAfterKey(int ms, int nth = 0) {
    busy_ms_ = ms;
    busy_nth_ = nth;
  }
  // From `at_ms` (virtual time) for `ms`: handles no input; answers messages
  // sent to it only when `answering` (a thread waiting in a loop of its own).
  void PauseAt(int at_ms, int ms, bool answering);
  // Ctrl+V pastes nothing and reads nothing (the focus is on no field).
  void IgnorePastes(bool ignore) { ignore_pastes_ = ignore; }
  // The next `count` pastes read the clipboard and keep nothing (a field
  // that refused what it was given).
  void DiscardPastes(int count) { discard_ = count; }
  // Whether its fields can be read from outside (standard edit fields) or
  // are drawn by the program itself.
  void SetReadable(bool readable) { readable_ = readable; }
  // Whether Tab moves the focus to the next field of its own, or stays in
  // one window that draws the whole page.
  void SetFieldsOfTheirOwn(bool own) { fields_of_their_own_ = own; }
  // A child window and the top-level window it belongs to (any other
  // window is taken for a top-level one).
  void SetTopLevel(std::uintptr_t window, std::uintptr_t top) { top_levels_[window] = top; }

  // Input as it arrives: keys from the keyboard queue ("Ctrl+V", "Tab",
  // "Enter"; other chords are ignored), typed text, and posted characters.
  void Key(const std::string& chord);
  void Typed(const std::string& text);
  void Posted(const std::string& text);

  bool Answering(std::uintptr_t window) override;
  std::uintptr_t FocusOf(std::uintptr_t window) const override;
  std::uintptr_t TopLevelOf(std::uintptr_t window) const override;
  bool IsField(std::uintptr_t control) const override { return control != 0 && fields_of_their_own_; }
  std::optional<FieldState> ReadField(std::uintptr_t control) override;

  // The focus control's handle for the nth field.
  static constexpr std::uintptr_t kFirstField = 5000;

 private:
  struct Item {
    bool key;
    std::string what;
  };
  struct Pause {
    std::int64_t from, to;
    bool answering;
  };
  // The first moment from `t` on at which the program takes its next input.
  std::int64_t FreeAt(std::int64_t t) const;
  void Schedule();
  void HandleNext();
  void Handle(const Item& item);

  VirtualClock& clock_;
  SimClipboard& clipboard_;
  std::deque<Item> input_, posted_;
  std::vector<Pause> pauses_;
  bool scheduled_ = false;
  std::string received_;
  std::size_t field_start_ = 0;  // where the focused field's text begins in received_
  int field_ = 0;                // the focused field (Tabs handled)
  int keys_ = 0;                 // Tabs and Enters handled
  int reads_ = 0;
  int discard_ = 0;
  int busy_ms_ = 0;
  int busy_nth_ = 0;
  bool ignore_pastes_ = false;
  bool readable_ = true;
  bool fields_of_their_own_ = true;
  std::map<std::uintptr_t, std::uintptr_t> top_levels_;
};

}  // namespace tovan::rt::sim
