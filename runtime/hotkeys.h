// System-wide hotkeys. A press raises kHotkey, carrying the identifier, on
// the receiver unit the hotkey was registered with.
#pragma once

#include <string_view>

namespace tovan::rt {

// Modifier flags of a hotkey or key chord, summed.
inline constexpr int kCtrl = 1;
inline constexpr int kShift = 2;
inline constexpr int kAlt = 4;

class Hotkeys {
 public:
  virtual ~Hotkeys() = default;
  // Returns the new hotkey's identifier, or 0 when the system refused it
  // (another program holds the combination, or the key is invalid).
  virtual int Register(std::string_view receiver, int modifiers, int virtual_key) = 0;
  // Unregistering an identifier that is not registered does nothing.
  virtual void Unregister(int id) = 0;
};

}  // namespace tovan::rt
