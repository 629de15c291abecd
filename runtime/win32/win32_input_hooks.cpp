// The low-level mouse and keyboard hooks. A procedure notes the event and
// queues its handling to the window thread, then passes the event on at
// once; it never waits and never touches a control.
#include <windows.h>

#include <atomic>
#include <optional>

#include "runtime/win32/win32_clock.h"
#include "runtime/win32/win32_services.h"

namespace tovan::rt::win32 {
namespace {

std::atomic<std::int64_t> longest_call_micros{0};
std::atomic<std::int64_t> last_left_release_micros{0};

std::int64_t Micros() { return Win32Clock::Micros(); }

// What a procedure keeps of an event; mouse moves are not kept.
std::optional<MouseEvent> Noted(MouseEvent*, WPARAM message, LPARAM data) {
  if (message == WM_MOUSEMOVE) return std::nullopt;
  const auto& event = *reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
  const std::int64_t now = Micros();
  if (message == WM_LBUTTONUP) last_left_release_micros.store(now);
  return MouseEvent{.message = static_cast<int>(message),
                    .screen = {event.pt.x, event.pt.y},
                    .ours = event.dwExtraInfo == kInjectedByTovan,
                    .window = message == WM_RBUTTONUP || message == WM_LBUTTONUP || message == WM_MBUTTONUP ||
                                      message == WM_MBUTTONDOWN
                                  ? reinterpret_cast<std::uintptr_t>(WindowFromPoint(event.pt))
                                  : 0,
                    .micros = now};
}

std::optional<KeyEvent> Noted(KeyEvent*, WPARAM message, LPARAM data) {
  const auto& event = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
  return KeyEvent{.virtual_key = static_cast<int>(event.vkCode),
                  .message = static_cast<int>(message),
                  .ours = event.dwExtraInfo == kInjectedByTovan};
}

}  // namespace

std::int64_t LongestHookCallMicros() { return longest_call_micros.load(); }

std::int64_t Win32MouseHook::LastLeftReleaseMicros() const { return last_left_release_micros.load(); }

template <class Base, class Event, int kHookType>
Win32Hook<Base, Event, kHookType>::~Win32Hook() {
  if (hook_) UnhookWindowsHookEx(hook_);
  if (installed_ == this) installed_ = nullptr;
}

template <class Base, class Event, int kHookType>
bool Win32Hook<Base, Event, kHookType>::Install(std::string_view owner, typename Base::Handler handler) {
  if (!hook_) hook_ = SetWindowsHookExW(kHookType, Procedure, GetModuleHandleW(nullptr), 0);
  if (!hook_) return false;
  installed_ = this;
  handlers_[std::string(owner)] = std::move(handler);
  return true;
}

template <class Base, class Event, int kHookType>
void Win32Hook<Base, Event, kHookType>::Remove(std::string_view owner) {
  if (auto it = handlers_.find(owner); it != handlers_.end()) handlers_.erase(it);
  if (!handlers_.empty() || !hook_) return;
  UnhookWindowsHookEx(hook_);
  hook_ = nullptr;
  if (installed_ == this) installed_ = nullptr;
}

template <class Base, class Event, int kHookType>
void Win32Hook<Base, Event, kHookType>::Deliver(const Event& event) {
  const auto listeners = handlers_;  // a handler may remove itself
  for (const auto& [owner, handler] : listeners) handler(event);
}

template <class Base, class Event, int kHookType>
LRESULT CALLBACK Win32Hook<Base, Event, kHookType>::Procedure(int code, WPARAM message, LPARAM data) {
  const std::int64_t start = Micros();
  Win32Hook* self = installed_;
  if (code == HC_ACTION && self) {
    if (const std::optional<Event> noted = Noted(static_cast<Event*>(nullptr), message, data)) {
      // Handled after the procedure has returned, by whoever still listens.
      self->ui_.RunSoon([event = *noted] {
        if (installed_) installed_->Deliver(event);
      });
    }
  }
  const std::int64_t took = Micros() - start;
  std::int64_t longest = longest_call_micros.load();
  while (took > longest && !longest_call_micros.compare_exchange_weak(longest, took)) {
  }
  return CallNextHookEx(self ? self->hook_ : nullptr, code, message, data);
}

template class Win32Hook<MouseHook, MouseEvent, WH_MOUSE_LL>;
template class Win32Hook<KeyboardHook, KeyEvent, WH_KEYBOARD_LL>;

}  // namespace tovan::rt::win32
