// Finding and reading the windows of another process. Every message sent to
// another process has a deadline: a hung program never hangs the test.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tovan::e2e {

// How long one message to another process may take.
inline constexpr int kMessageTimeoutMs = 2000;

// SendMessageTimeoutW with SMTO_ABORTIFHUNG: the result, or nullopt if the
// receiver did not answer in time.
std::optional<LRESULT> SendWithTimeout(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                                       int timeout_ms = kMessageTimeoutMs);

// The first top-level window whose title is exactly title (and, if
// process_id is not 0, that belongs to that process), waiting up to
// timeout_ms for it to appear; nullptr if none did. By default only a
// visible window counts: a window is listed while it is still being created,
// before its controls exist, and usually shown once they do.
HWND FindTopWindow(std::string_view title, int timeout_ms, DWORD process_id = 0,
                   bool visible_only = true);

// All descendants of parent, in the order EnumChildWindows gives them.
std::vector<HWND> ChildWindows(HWND parent);
HWND FindChildById(HWND parent, int id);
// The index-th descendant of that window class (case-insensitive), or nullptr.
HWND FindChildByClass(HWND parent, std::wstring_view class_name, int index = 0);
// The first descendant whose text is exactly text, or nullptr.
HWND FindChildByText(HWND parent, std::string_view text);

// A window's text read with WM_GETTEXT, which works across processes
// (GetWindowTextW does not read other processes' controls).
std::optional<std::string> WindowText(HWND hwnd);
// Sets a window's text with WM_SETTEXT.
bool SetWindowTextTo(HWND hwnd, std::string_view text);

RECT WindowRect(HWND hwnd);
// Top-left corner of the client area, in screen coordinates.
POINT ClientOrigin(HWND hwnd);
// Centre of the window's rectangle, in screen coordinates.
POINT CenterOf(HWND hwnd);
bool IsShown(HWND hwnd);
DWORD ProcessIdOf(HWND hwnd);
std::string ClassNameOf(HWND hwnd);
// The window that has the keyboard focus in the thread owning hwnd, or
// nullptr.
HWND FocusOf(HWND hwnd);

}  // namespace tovan::e2e
