// Mouse and keyboard input injected with SendInput, as if a user did it.
// Input goes to whatever has the focus: give it with FocusControl or a
// click first. Every function returns false if the system refused events.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string_view>

namespace tovan::e2e {

bool MoveMouseTo(POINT screen);
bool ClickAt(POINT screen);
bool DoubleClickAt(POINT screen);
// A left-button drag from one point to another (a selection in a field).
bool DragMouse(POINT from, POINT to);
bool MiddleClickAt(POINT screen);
// Clicks the centre of a control; false if there is no such window.
bool ClickControl(HWND control);
bool DoubleClickControl(HWND control);

bool KeyDown(WORD vk);
bool KeyUp(WORD vk);
// Key down then key up.
bool PressKey(WORD vk);
// Holds the modifiers down in order, presses key, releases the modifiers in
// reverse order: PressChord({VK_CONTROL}, 'V').
bool PressChord(std::initializer_list<WORD> modifiers, WORD key);
// Types text as Unicode key events, one down/up pair per UTF-16 unit; the
// keyboard layout plays no part.
bool TypeText(std::string_view utf8);

// Gives the keyboard focus to a control of another process (its window is
// brought to the foreground) and waits until it has it.
bool FocusControl(HWND control, int timeout_ms = 2000);

}  // namespace tovan::e2e
