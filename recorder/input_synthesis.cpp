#include "recorder/input_synthesis.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "runtime/timer_wait.h"

namespace tovan::recorder {

void SendKeyEvent(rt::Platform& p, int virtual_key, int action, bool extended) {
  if (action != 4) p.injector.Key(virtual_key, false, extended);
  if (action != 3) p.injector.Key(virtual_key, true, extended);
  if (action > 4) {
    p.injector.Key(virtual_key, false, extended);
    rt::TimerWait(p.clock, action);
    p.injector.Key(virtual_key, true, extended);
    rt::TimerWait(p.clock, action);
  }
}

void SendMouseButton(rt::Platform& p, int button, int action) {
  int down = 0, up = 0;
  switch (button) {
    case 0:
    case 1: down = rt::kMouseLeftDown, up = rt::kMouseLeftUp; break;
    case 2: down = rt::kMouseRightDown, up = rt::kMouseRightUp; break;
    case 3: down = rt::kMouseMiddleDown, up = rt::kMouseMiddleUp; break;
    default: return;
  }
  switch (action) {
    case 3: p.injector.MouseButton(down); break;
    case 4: p.injector.MouseButton(up); break;
    case 0:
    case 1:
      p.injector.MouseButton(down);
      p.injector.MouseButton(up);
      break;
    case 2:
      p.injector.MouseButton(down);
      p.injector.MouseButton(up);
      rt::TimerWait(p.clock, p.injector.DoubleClickMillis());
      p.injector.MouseButton(down);
      p.injector.MouseButton(up);
      break;
    default: break;
  }
}

void MoveCursorTo(rt::Platform& p, std::uintptr_t window, int x, int y) {
  const rt::Point origin = window ? p.injector.ClientOrigin(window) : rt::Point{};
  // Any recorded number (a file edited by hand) gives a point, never an overflow.
  const auto sum = [](int a, int b) {
    return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{a} + b, std::numeric_limits<int>::min(),
                                                      std::numeric_limits<int>::max()));
  };
  p.injector.SetCursor({sum(origin.x, x), sum(origin.y, y)});
}

void ReplayMouseEvent(rt::Platform& p, int message, int x, int y) {
  MoveCursorTo(p, 0, x, y);
  switch (message) {
    case 513: SendMouseButton(p, 1, 3); break;
    case 514: SendMouseButton(p, 1, 4); break;
    case 516: SendMouseButton(p, 2, 3); break;
    case 517: SendMouseButton(p, 2, 4); break;
    case 519: SendMouseButton(p, 3, 3); break;
    case 520: SendMouseButton(p, 3, 4); break;
    default: break;
  }
}

rt::Point GetCursorOffset(rt::Platform& p, std::uintptr_t window) {
  const rt::Point origin = window ? GetClientOrigin(p, window) : rt::Point{};
  const rt::Point cursor = p.injector.Cursor();
  return {cursor.x - origin.x, cursor.y - origin.y};
}

rt::Point GetClientOrigin(rt::Platform& p, std::uintptr_t window) { return p.injector.ClientOrigin(window); }

}  // namespace tovan::recorder
