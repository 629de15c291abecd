#include <windows.h>

#include <algorithm>
#include <atomic>

#include "runtime/win32/win32_services.h"

namespace tovan::rt::win32 {
namespace {

// The one installed hook (a process has one window thread): the procedure
// is a plain function and finds its object here.
Win32MouseHook* installed = nullptr;
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

}  // namespace

bool Win32MouseHook::Install(Handler handler) {
  handler_ = std::move(handler);
  if (hook_) return true;
  hook_ = SetWindowsHookExW(WH_MOUSE_LL, Procedure, GetModuleHandleW(nullptr), 0);
  if (hook_) installed = this;
  return hook_ != nullptr;
}

void Win32MouseHook::Remove() {
  if (!hook_) return;
  UnhookWindowsHookEx(hook_);
  hook_ = nullptr;
  if (installed == this) installed = nullptr;
}

std::int64_t Win32MouseHook::LongestCallMicros() { return longest_call_micros.load(); }

LRESULT CALLBACK Win32MouseHook::Procedure(int code, WPARAM message, LPARAM data) {
  const std::int64_t start = Micros();
  Win32MouseHook* self = installed;
  if (code == HC_ACTION && self && message != WM_MOUSEMOVE) {
    const auto& event = *reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
    const MouseEvent noted{.message = static_cast<int>(message),
                           .screen = {event.pt.x, event.pt.y},
                           .injected = (event.flags & LLMHF_INJECTED) != 0};
    // Handled after the procedure has returned; a hook removed meanwhile
    // hears nothing more.
    self->ui_.RunSoon([noted] {
      if (installed && installed->handler_) installed->handler_(noted);
    });
  }
  const std::int64_t took = Micros() - start;
  std::int64_t longest = longest_call_micros.load();
  while (took > longest && !longest_call_micros.compare_exchange_weak(longest, took)) {
  }
  return CallNextHookEx(self ? self->hook_ : nullptr, code, message, data);
}

}  // namespace tovan::rt::win32
