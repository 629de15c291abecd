// Hotkey text: a modifier prefix ("Ctrl+", "Ctrl+Shift+" …) followed by one
// key name. The names of the keys, the prefix of a key event, and the text
// parsed back into modifier flags and a virtual-key code.
#pragma once

#include <string>
#include <string_view>

namespace tovan::paste {

// The name a captured key gets; "" for a key without a name (modifiers,
// Tab, Enter, Esc, F13 and up, …).
std::string_view KeyName(int virtual_key);

// The prefix for a key-pressed event: from the modifier state (Ctrl 1,
// Shift 2, Alt 4), corrected for a modifier key that is itself being
// pressed and so not yet in the state.
std::string_view Prefix(int virtual_key, int modifiers);

struct ParsedHotkey {
  int modifiers = 0;
  int virtual_key = 0;  // 0: the key name is not a known one
  friend bool operator==(const ParsedHotkey&, const ParsedHotkey&) = default;
};

// "Ctrl+Shift+F5" → {3, 0x74}. Modifier words are exact ("ctrl" counts 0);
// letters and F1 … F16 match whatever their case, other names exactly; a
// text with more than three "+" has no key.
ParsedHotkey ParseHotkeyText(std::string_view text);

}  // namespace tovan::paste
