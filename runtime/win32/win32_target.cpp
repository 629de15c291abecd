#include "runtime/win32/win32_target.h"

#include <cwctype>
#include <string>

#include "runtime/win32/wide.h"

namespace tovan::rt::win32 {
namespace {

// A probe unanswered this long: the thread is busy with something else.
constexpr ULONGLONG kNotAnsweringMs = 200;
// How often a thread that answers is asked again.
constexpr ULONGLONG kProbeEveryMs = 50;
// How long one read of a field may take.
constexpr UINT kReadMs = 50;
// Fields longer than this are not read back (a whole document).
constexpr LRESULT kMaxFieldChars = 256 * 1024;

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  std::wstring lower(name);
  for (wchar_t& c : lower) c = static_cast<wchar_t>(std::towlower(c));
  return lower;
}

// Edit fields and rich edit fields, of every version and name.
bool IsEditClass(HWND window) {
  const std::wstring name = ClassOf(window);
  return name == L"edit" || name.find(L"richedit") != std::wstring::npos;
}

bool Send(HWND window, UINT message, WPARAM w, LPARAM l, DWORD_PTR& result) {
  return SendMessageTimeoutW(window, message, w, l, SMTO_ABORTIFHUNG | SMTO_BLOCK, kReadMs, &result) != 0;
}

}  // namespace

std::uint64_t Win32Target::answered_ = 0;

void CALLBACK Win32Target::Answered(HWND, UINT, ULONG_PTR probe, LRESULT) {
  if (probe > answered_) answered_ = probe;
}

bool Win32Target::Answering(std::uintptr_t window) {
  HWND hwnd = reinterpret_cast<HWND>(window);
  if (hwnd != probed_) {
    probed_ = hwnd;
    outstanding_ = false;
    answering_ = true;
    sent_at_ = 0;
  }
  if (!hwnd) return true;
  const ULONGLONG now = GetTickCount64();
  if (outstanding_) {
    if (answered_ >= probe_) {
      outstanding_ = false;
      answering_ = true;
    } else if (now - sent_at_ >= kNotAnsweringMs) {
      answering_ = false;
    }
  }
  if (!outstanding_ && now - sent_at_ >= kProbeEveryMs &&
      SendMessageCallbackW(hwnd, WM_NULL, 0, 0, &Answered, ++probe_)) {
    outstanding_ = true;
    sent_at_ = now;
  }
  return answering_;
}

std::uintptr_t Win32Target::FocusOf(std::uintptr_t window) const {
  const DWORD thread = GetWindowThreadProcessId(reinterpret_cast<HWND>(window), nullptr);
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!thread || !GetGUIThreadInfo(thread, &info)) return 0;
  return reinterpret_cast<std::uintptr_t>(info.hwndFocus);
}

std::uintptr_t Win32Target::TopLevelOf(std::uintptr_t window) const {
  HWND hwnd = reinterpret_cast<HWND>(window);
  return hwnd && IsWindow(hwnd) ? reinterpret_cast<std::uintptr_t>(GetAncestor(hwnd, GA_ROOT)) : 0;
}

bool Win32Target::IsField(std::uintptr_t control) const {
  HWND hwnd = reinterpret_cast<HWND>(control);
  if (!hwnd || !IsEditClass(hwnd)) return false;
  // A field that takes Tab itself (a multi-line editor) keeps the focus.
  DWORD_PTR codes = 0;
  return Send(hwnd, WM_GETDLGCODE, 0, 0, codes) && !(codes & (DLGC_WANTTAB | DLGC_WANTALLKEYS));
}

std::optional<FieldState> Win32Target::ReadField(std::uintptr_t control) {
  HWND hwnd = reinterpret_cast<HWND>(control);
  if (!hwnd || !IsEditClass(hwnd) || (GetWindowLongPtrW(hwnd, GWL_STYLE) & ES_PASSWORD)) return std::nullopt;
  DWORD_PTR length = 0;
  if (!Send(hwnd, WM_GETTEXTLENGTH, 0, 0, length) || static_cast<LRESULT>(length) > kMaxFieldChars) return std::nullopt;
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!Send(hwnd, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()), copied)) return std::nullopt;
  text.resize(std::min<std::size_t>(copied, length));
  // The selection as the return value: positions beyond 65535 wrap, which
  // still tells a change.
  DWORD_PTR selection = 0;
  if (!Send(hwnd, EM_GETSEL, 0, 0, selection)) return std::nullopt;
  return FieldState{Utf8(text), LOWORD(selection), HIWORD(selection)};
}

bool Win32Target::FieldIs(std::uintptr_t control, const FieldState& state) {
  HWND hwnd = reinterpret_cast<HWND>(control);
  DWORD_PTR length = 0, selection = 0;
  if (!hwnd || !Send(hwnd, WM_GETTEXTLENGTH, 0, 0, length) || !Send(hwnd, EM_GETSEL, 0, 0, selection) ||
      static_cast<int>(LOWORD(selection)) != state.selection_start ||
      static_cast<int>(HIWORD(selection)) != state.selection_end || length != Wide(state.text).size())
    return false;
  return ReadField(control) == state;
}

}  // namespace tovan::rt::win32
