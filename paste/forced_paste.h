// Delivering a row's text without the clipboard, for fields that refuse it:
// typed as send-keys keystrokes, or posted as characters to the window under
// the mouse cursor.
#pragma once

#include <cstdint>
#include <string_view>

#include "runtime/platform.h"

namespace tovan::paste {

// The typist of the account forced paste: it types text in the send-keys
// syntax of the Windows scripting shell. One is made at start-up and kept
// for the whole run.
class Typist {
 public:
  explicit Typist(rt::Keys& keys) : keys_(keys) {}
  // The text is not escaped: "+", "^", "%", "~", braces and parentheses act
  // as the syntax says ("{TAB}" moves to the next field).
  void TypeBySendKeys(std::string_view text);

 private:
  rt::Keys& keys_;
};

// Posts the text as characters, one WM_CHAR each: to a Unicode window its
// UTF-16 units, to any other window the bytes of its GBK form.
void PostTextToWindow(rt::Messages& messages, std::uintptr_t window, std::string_view text);

// The window under the mouse cursor, as 句柄1 holds it at this moment.
std::uintptr_t TargetWindow(const rt::Ui& ui);

}  // namespace tovan::paste
