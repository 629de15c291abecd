// The low-level mouse and keyboard hooks. A procedure notes the event and
// queues its handling to the window thread, then passes the event on at
// once; it never waits and never touches a control.
#include <windows.h>

#include <atomic>

#include "runtime/win32/win32_services.h"

namespace tovan::rt::win32 {
namespace {

// The installed hooks (a process has one window thread): the procedures
// are plain functions and find their objects here.
Win32MouseHook* mouse_hook = nullptr;
Win32KeyboardHook* keyboard_hook = nullptr;
std::atomic<std::int64_t> longest_call_micros{0};

std::int64_t Micros() {
  static const LONGLONG frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart > 0 ? f.QuadPart : 1;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart * 1'000'000 / frequency;
}

void NoteCall(std::int64_t start) {
  const std::int64_t took = Micros() - start;
  std::int64_t longest = longest_call_micros.load();
  while (took > longest && !longest_call_micros.compare_exchange_weak(longest, took)) {
  }
}

}  // namespace

std::int64_t LongestHookCallMicros() { return longest_call_micros.load(); }

template <class Event, class Base>
bool HookOwners<Event, Base>::Add(std::string_view owner, typename Base::Handler handler) {
  handlers_[std::string(owner)] = std::move(handler);
  return true;
}

bool Win32MouseHook::Install(std::string_view owner, Handler handler) {
  if (!hook_) hook_ = SetWindowsHookExW(WH_MOUSE_LL, Procedure, GetModuleHandleW(nullptr), 0);
  if (!hook_) return false;
  mouse_hook = this;
  return owners_.Add(owner, std::move(handler));
}

void Win32MouseHook::Remove(std::string_view owner) {
  owners_.Remove(owner);
  if (!owners_.Empty() || !hook_) return;
  UnhookWindowsHookEx(hook_);
  hook_ = nullptr;
  if (mouse_hook == this) mouse_hook = nullptr;
}

LRESULT CALLBACK Win32MouseHook::Procedure(int code, WPARAM message, LPARAM data) {
  const std::int64_t start = Micros();
  Win32MouseHook* self = mouse_hook;
  if (code == HC_ACTION && self && message != WM_MOUSEMOVE) {
    const auto& event = *reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
    const MouseEvent noted{.message = static_cast<int>(message),
                           .screen = {event.pt.x, event.pt.y},
                           .ours = event.dwExtraInfo == kInjectedByTovan};
    // Handled after the procedure has returned, by whoever still listens.
    self->ui_.RunSoon([noted] {
      if (mouse_hook) mouse_hook->owners_.Deliver(noted);
    });
  }
  NoteCall(start);
  return CallNextHookEx(self ? self->hook_ : nullptr, code, message, data);
}

bool Win32KeyboardHook::Install(std::string_view owner, Handler handler) {
  if (!hook_) hook_ = SetWindowsHookExW(WH_KEYBOARD_LL, Procedure, GetModuleHandleW(nullptr), 0);
  if (!hook_) return false;
  keyboard_hook = this;
  return owners_.Add(owner, std::move(handler));
}

void Win32KeyboardHook::Remove(std::string_view owner) {
  owners_.Remove(owner);
  if (!owners_.Empty() || !hook_) return;
  UnhookWindowsHookEx(hook_);
  hook_ = nullptr;
  if (keyboard_hook == this) keyboard_hook = nullptr;
}

LRESULT CALLBACK Win32KeyboardHook::Procedure(int code, WPARAM message, LPARAM data) {
  const std::int64_t start = Micros();
  Win32KeyboardHook* self = keyboard_hook;
  if (code == HC_ACTION && self) {
    const auto& event = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
    const KeyEvent noted{.virtual_key = static_cast<int>(event.vkCode),
                         .message = static_cast<int>(message),
                         .ours = event.dwExtraInfo == kInjectedByTovan};
    self->ui_.RunSoon([noted] {
      if (keyboard_hook) keyboard_hook->owners_.Deliver(noted);
    });
  }
  NoteCall(start);
  return CallNextHookEx(self ? self->hook_ : nullptr, code, message, data);
}

template class HookOwners<MouseEvent, MouseHook>;
template class HookOwners<KeyEvent, KeyboardHook>;

}  // namespace tovan::rt::win32
