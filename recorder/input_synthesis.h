// Turning a recorded row back into real input: one key event, one mouse
// button action, a cursor move, and a move with a press or release. Waits
// are timer waits in milliseconds, with the window's events running.
#pragma once

#include <cstdint>

#include "runtime/platform.h"

namespace tovan::recorder {

// Key action: 3 press only, 4 release only, up to 4 otherwise a tap;
// above 4 a tap, then a press held that many milliseconds, then as long again.
void SendKeyEvent(rt::Platform& p, int virtual_key, int action, bool extended);
// Button 0 or 1 left, 2 right, 3 middle; action 3 down, 4 up, 0 or 1 a
// click, 2 a double click. Anything else sends nothing.
void SendMouseButton(rt::Platform& p, int button, int action);
// To (x, y) on the screen, or in the window's client area.
void MoveCursorTo(rt::Platform& p, std::uintptr_t window, int x, int y);
// A recorded mouse row: the cursor to (x, y) on the screen, then the
// button press or release the message names (513 … 520); any other
// message only moves the cursor.
void ReplayMouseEvent(rt::Platform& p, int message, int x, int y);
// The cursor on the screen, or relative to the window's client area.
rt::Point GetCursorOffset(rt::Platform& p, std::uintptr_t window);
// The screen position of a window's client area (0: the foreground window).
rt::Point GetClientOrigin(rt::Platform& p, std::uintptr_t window);

}  // namespace tovan::recorder
