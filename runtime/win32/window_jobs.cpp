// The window thread's event loop and the jobs handed to it: RunSoon jobs
// from any thread, one at a time in arrival order (the job queue), and
// RunLater jobs at their moment. Both arrive as messages posted to the
// window, so they also run inside the system's modal loops (a window being
// dragged, a menu, a message box), where a wait of the program's own could
// never return.
#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <utility>

#include "runtime/win32/win32_ui.h"

namespace tovan::rt::win32 {
namespace {

// Where a multimedia timer's moment is posted to.
struct Alarm {
  HWND window;
  UINT message;
  UINT_PTR id;
};

void CALLBACK AlarmDue(UINT, UINT, DWORD_PTR data, DWORD_PTR, DWORD_PTR) {
  const auto* alarm = reinterpret_cast<const Alarm*>(data);
  PostMessageW(alarm->window, alarm->message, alarm->id, 0);
  delete alarm;  // one-shot: it fires once
}

}  // namespace

void Win32Ui::Run() {
  MSG message;
  // The window's destruction ends the loop (it wakes it with a null message);
  // a quit from elsewhere ends it too.
  while (!destroyed_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void Win32Ui::PumpEvents() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // A quit from outside: leave it for the message loop that owns it.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void Win32Ui::RunSoon(std::function<void()> job) {
  if (jobs_.Post(std::move(job)) && window_) PostMessageW(window_, kRunSoonMessage, 0, 0);
}

void Win32Ui::RunLater(int ms, std::function<void()> job) {
  if (!window_ || destroyed_) return;
  const UINT_PTR id = next_later_++;
  if (next_later_ > kLastLaterId) next_later_ = kFirstLaterId;
  later_[id] = std::move(job);
  if (ms <= 0) {
    // After the events already waiting, as a message of its own.
    PostMessageW(window_, kRunLaterMessage, id, 0);
    return;
  }
  // A multimedia timer keeps the moment to the millisecond (the window's
  // timers round up to the scheduler's tick of about 16 ms); the window's
  // own timer stands in where none can be had.
  auto* alarm = new Alarm{window_, kRunLaterMessage, id};
  if (timeSetEvent(static_cast<UINT>(ms), 1, &AlarmDue, reinterpret_cast<DWORD_PTR>(alarm),
                   TIME_ONESHOT | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS))
    return;
  delete alarm;
  SetTimer(window_, id, static_cast<UINT>(ms), nullptr);
}

bool Win32Ui::RunLaterJob(UINT_PTR id, bool timer) {
  const auto it = later_.find(id);
  if (it == later_.end()) return false;
  if (timer) KillTimer(window_, id);
  const std::function<void()> job = std::move(it->second);
  later_.erase(it);
  job();
  return true;
}

}  // namespace tovan::rt::win32
