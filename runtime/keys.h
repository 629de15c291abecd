// Key chords sent to whatever program has the focus, and key states.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace tovan::rt {

// Virtual-key codes the program names.
inline constexpr int kVkBack = 0x08;
inline constexpr int kVkTab = 0x09;
inline constexpr int kVkReturn = 0x0D;
inline constexpr int kVkShift = 0x10;
inline constexpr int kVkControl = 0x11;
inline constexpr int kVkMenu = 0x12;  // Alt
inline constexpr int kVkEscape = 0x1B;
inline constexpr int kVkLeftWindows = 0x5B;
inline constexpr int kVkRightWindows = 0x5C;
inline constexpr int kVkBacktick = 0xC0;

// One key stroke of typed input: a character or a named key, pressed
// `count` times while the modifiers (kCtrl, kShift, kAlt) are held.
struct Stroke {
  std::string character;  // one UTF-8 character, or "" for a named key
  int virtual_key = 0;    // the named key when character is ""
  int modifiers = 0;
  int count = 1;
  friend bool operator==(const Stroke&, const Stroke&) = default;
};

class Keys {
 public:
  virtual ~Keys() = default;
  // Presses one to three keys as one chord: the first ones are held while
  // the last is tapped, then all are released (Ctrl+V is {kVkControl, 'V'}).
  virtual void Chord(std::initializer_list<int> virtual_keys) = 0;
  // Types the text as characters.
  virtual void Type(std::string_view text) = 0;
  // Presses the strokes in order. A character under modifiers is pressed as
  // its key on the keyboard (so Shift with "1" gives "!"); a character on
  // its own is typed as that character, whatever the keyboard layout.
  virtual void Press(const std::vector<Stroke>& strokes) = 0;
  // Whether the key is down, as the window's own events see it.
  virtual bool IsDown(int virtual_key) const = 0;
  // Whether the key is held on the keyboard right now, whichever program
  // has the focus.
  virtual bool IsHeld(int virtual_key) const = 0;
};

}  // namespace tovan::rt
