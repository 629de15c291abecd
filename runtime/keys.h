// Key chords sent to whatever program has the focus, and key states.
#pragma once

#include <initializer_list>
#include <string_view>

namespace tovan::rt {

// Virtual-key codes the program names.
inline constexpr int kVkBack = 0x08;
inline constexpr int kVkTab = 0x09;
inline constexpr int kVkReturn = 0x0D;
inline constexpr int kVkShift = 0x10;
inline constexpr int kVkControl = 0x11;
inline constexpr int kVkMenu = 0x12;  // Alt
inline constexpr int kVkEscape = 0x1B;
inline constexpr int kVkBacktick = 0xC0;

class Keys {
 public:
  virtual ~Keys() = default;
  // Presses one to three keys as one chord: the first ones are held while
  // the last is tapped, then all are released (Ctrl+V is {kVkControl, 'V'}).
  virtual void Chord(std::initializer_list<int> virtual_keys) = 0;
  // Types the text as characters.
  virtual void Type(std::string_view text) = 0;
  // Whether the key is down, as the window's own events see it.
  virtual bool IsDown(int virtual_key) const = 0;
};

}  // namespace tovan::rt
