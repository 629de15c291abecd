// Single input events injected at the system level, as replay needs them:
// they go to whatever window has the focus or lies under the cursor, as if
// the user had typed or clicked, and carry the program's own mark.
#pragma once

#include <cstdint>

#include "runtime/geometry.h"

namespace tovan::rt {

// Mouse button flags of one event.
inline constexpr int kMouseLeftDown = 0x0002;
inline constexpr int kMouseLeftUp = 0x0004;
inline constexpr int kMouseRightDown = 0x0008;
inline constexpr int kMouseRightUp = 0x0010;
inline constexpr int kMouseMiddleDown = 0x0020;
inline constexpr int kMouseMiddleUp = 0x0040;

class InputInjector {
 public:
  virtual ~InputInjector() = default;
  // One key event; the key's scan code is looked up for this very event.
  virtual void Key(int virtual_key, bool release, bool extended) = 0;
  // One button event (a kMouse… flag) where the cursor is.
  virtual void MouseButton(int flag) = 0;
  virtual void SetCursor(Point screen) = 0;
  virtual Point Cursor() const = 0;
  // Screen position of a window's client-area origin (0: the foreground window).
  virtual Point ClientOrigin(std::uintptr_t window) const = 0;
  virtual int DoubleClickMillis() const = 0;
};

}  // namespace tovan::rt
