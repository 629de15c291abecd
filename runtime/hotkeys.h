// System-wide hotkeys. A press raises kHotkey, carrying the identifier, on
// the receiver unit the hotkey was registered with.
#pragma once

#include <cstdint>
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

  // The plain system registration HOOK类 keeps its own table of: the
  // hotkey (window, id) with the system's modifier bits; false when refused.
  virtual bool RegisterForWindow(std::uintptr_t window, int id, int system_modifiers, int virtual_key) = 0;
  virtual bool UnregisterForWindow(std::uintptr_t window, int id) = 0;
  // While on, the window's hotkey presses reach its procedure as message
  // kForwardedHotkey (identifier and key data unchanged).
  virtual void ForwardHotkeysOf(std::uintptr_t window, bool on) = 0;
  static constexpr unsigned kForwardedHotkey = 0x8075;
};

}  // namespace tovan::rt
