// Low-level hooks: the keys and mouse buttons of every program, seen as
// they happen. The system calls a hook procedure on the window's thread in
// the middle of delivering input, and silently drops a hook that is slow to
// return; so the procedure only notes the event, and the handlers run on
// the window thread right after. The hooks never keep an event from other
// programs or their hooks. Each part of the program that listens installs
// under its own name; the system hook lives while any of them listens.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "runtime/geometry.h"

namespace tovan::rt {

// Low-level mouse messages.
inline constexpr int kMouseMove = 0x0200;
inline constexpr int kLeftButtonDown = 0x0201;
inline constexpr int kLeftButtonUp = 0x0202;
inline constexpr int kRightButtonDown = 0x0204;
inline constexpr int kRightButtonUp = 0x0205;
inline constexpr int kMiddleButtonDown = 0x0207;
inline constexpr int kMiddleButtonUp = 0x0208;
// Low-level keyboard messages.
inline constexpr int kKeyDownMessage = 0x0100;
inline constexpr int kKeyUpMessage = 0x0101;
inline constexpr int kSysKeyDownMessage = 0x0104;
inline constexpr int kSysKeyUpMessage = 0x0105;

// The mark on every event this program injects (its keys, clicks and
// pastes), so that a listener can tell them from the user's own.
inline constexpr std::uintptr_t kInjectedByTovan = 0x544F56414EULL;

struct MouseEvent {
  int message = 0;
  Point screen;          // where the cursor was, in screen pixels
  bool ours = false;     // injected by this program
  // The window under the cursor at the moment of a button's release, and of
  // the middle button's press (0 for other events): the handling may come
  // later, the cursor elsewhere.
  std::uintptr_t window = 0;
  // When it happened, on the program's clock (Clock::NowMicros).
  std::int64_t micros = 0;
};

struct KeyEvent {
  int virtual_key = 0;
  int message = 0;       // kKeyDownMessage … kSysKeyUpMessage
  bool ours = false;     // injected by this program
};

class MouseHook {
 public:
  using Handler = std::function<void(const MouseEvent&)>;
  virtual ~MouseHook() = default;
  // Listens under `owner` (replacing that owner's handler); false when the
  // system refused the hook.
  virtual bool Install(std::string_view owner, Handler handler) = 0;
  virtual void Remove(std::string_view owner) = 0;
  virtual bool Installed(std::string_view owner) const = 0;
  // When the left button was last released (Clock::NowMicros; 0 for
  // never), known as soon as the hook hears it, before that release's turn
  // to be handled has come.
  virtual std::int64_t LastLeftReleaseMicros() const = 0;
};

class KeyboardHook {
 public:
  using Handler = std::function<void(const KeyEvent&)>;
  virtual ~KeyboardHook() = default;
  virtual bool Install(std::string_view owner, Handler handler) = 0;
  virtual void Remove(std::string_view owner) = 0;
  virtual bool Installed(std::string_view owner) const = 0;
};

}  // namespace tovan::rt
