#include "driver/window.h"

#include "driver/text.h"
#include "driver/wait_until.h"

namespace tovan::e2e {

std::optional<LRESULT> SendWithTimeout(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                                       int timeout_ms) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(hwnd, message, wparam, lparam, SMTO_ABORTIFHUNG,
                           static_cast<UINT>(timeout_ms), &result)) {
    return std::nullopt;
  }
  return static_cast<LRESULT>(result);
}

namespace {

struct TopWindowSearch {
  std::wstring title;
  DWORD process_id;
  bool visible_only;
  HWND found = nullptr;
};

BOOL CALLBACK MatchTopWindow(HWND hwnd, LPARAM lparam) {
  auto* search = reinterpret_cast<TopWindowSearch*>(lparam);
  if (search->process_id != 0 && ProcessIdOf(hwnd) != search->process_id) return TRUE;
  if (search->visible_only && !IsWindowVisible(hwnd)) return TRUE;
  // A top-level window's title is kept by the system: GetWindowTextW reads
  // it without sending anything to the owner.
  const int length = GetWindowTextLengthW(hwnd);
  if (length != static_cast<int>(search->title.size())) return TRUE;
  std::wstring title(static_cast<size_t>(length) + 1, L'\0');
  title.resize(static_cast<size_t>(GetWindowTextW(hwnd, title.data(), length + 1)));
  if (title != search->title) return TRUE;
  search->found = hwnd;
  return FALSE;
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM lparam) {
  reinterpret_cast<std::vector<HWND>*>(lparam)->push_back(hwnd);
  return TRUE;
}

}  // namespace

HWND FindTopWindow(std::string_view title, int timeout_ms, DWORD process_id, bool visible_only) {
  TopWindowSearch search{Utf8ToWide(title), process_id, visible_only};
  WaitUntil(
      [&] {
        EnumWindows(MatchTopWindow, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      timeout_ms, 10);
  return search.found;
}

std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> children;
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
  return children;
}

HWND FindChildById(HWND parent, int id) {
  for (HWND child : ChildWindows(parent)) {
    if (GetDlgCtrlID(child) == id) return child;
  }
  return nullptr;
}

HWND FindChildByClass(HWND parent, std::wstring_view class_name, int index) {
  const std::wstring wanted(class_name);
  for (HWND child : ChildWindows(parent)) {
    wchar_t name[256] = {};
    GetClassNameW(child, name, 256);
    if (lstrcmpiW(name, wanted.c_str()) == 0 && index-- == 0) return child;
  }
  return nullptr;
}

HWND FindChildByText(HWND parent, std::string_view text) {
  for (HWND child : ChildWindows(parent)) {
    if (WindowText(child) == text) return child;
  }
  return nullptr;
}

std::optional<std::string> WindowText(HWND hwnd) {
  const auto length = SendWithTimeout(hwnd, WM_GETTEXTLENGTH, 0, 0);
  if (!length) return std::nullopt;
  // The length may be an upper bound; leave room and trim to what arrives.
  std::wstring text(static_cast<size_t>(*length) + 2, L'\0');
  const auto copied = SendWithTimeout(hwnd, WM_GETTEXT, text.size(),
                                      reinterpret_cast<LPARAM>(text.data()));
  if (!copied) return std::nullopt;
  text.resize(static_cast<size_t>(*copied));
  return WideToUtf8(text);
}

bool SetWindowTextTo(HWND hwnd, std::string_view text) {
  const std::wstring wide = Utf8ToWide(text);
  const auto result =
      SendWithTimeout(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  return result.has_value() && *result != 0;
}

RECT WindowRect(HWND hwnd) {
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  return rect;
}

POINT ClientOrigin(HWND hwnd) {
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  return origin;
}

POINT CenterOf(HWND hwnd) {
  const RECT rect = WindowRect(hwnd);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

bool IsShown(HWND hwnd) { return IsWindowVisible(hwnd) != FALSE; }

DWORD ProcessIdOf(HWND hwnd) {
  DWORD process_id = 0;
  GetWindowThreadProcessId(hwnd, &process_id);
  return process_id;
}

std::string ClassNameOf(HWND hwnd) {
  wchar_t name[256] = {};
  const int length = GetClassNameW(hwnd, name, 256);
  return WideToUtf8(std::wstring_view(name, static_cast<size_t>(length > 0 ? length : 0)));
}

HWND FocusOf(HWND hwnd) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

}  // namespace tovan::e2e
