// A low-level mouse hook: the mouse buttons of every program, seen as they
// happen. The system calls the hook procedure on the window's thread in the
// middle of delivering input, and silently drops a hook that is slow to
// return; so the procedure only notes the event, and the handler runs on
// the window thread right after. The hook never keeps an event from other
// programs or their hooks.
#pragma once

#include <functional>

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

struct MouseEvent {
  int message = 0;
  Point screen;           // where the cursor was, in screen pixels
  bool injected = false;  // made by a program, not by the mouse
};

class MouseHook {
 public:
  using Handler = std::function<void(const MouseEvent&)>;
  virtual ~MouseHook() = default;
  // Installs the hook with this handler (replacing an installed one's
  // handler); false when the system refused it.
  virtual bool Install(Handler handler) = 0;
  virtual void Remove() = 0;
  virtual bool Installed() const = 0;
};

}  // namespace tovan::rt
