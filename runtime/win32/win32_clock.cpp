#include "runtime/win32/win32_clock.h"

#include <windows.h>

#include "runtime/win32/handles.h"

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace tovan::rt::win32 {
namespace {

KernelHandle MakeTimer() {
  // High resolution where the system offers it (Windows 10 1803 and later),
  // otherwise a plain timer, which still beats the 15.6 ms scheduler tick
  // of a timed message wait.
  HANDLE timer = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
  if (!timer) timer = CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
  return KernelHandle(timer);
}

}  // namespace

Win32Clock::Win32Clock(Ui& ui) : ui_(ui) {}

std::int64_t Win32Clock::NowMicros() const { return Micros(); }

std::int64_t Win32Clock::Micros() {
  static const LONGLONG frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart > 0 ? f.QuadPart : 1;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  // In two parts: the counter times a million overflows after days.
  return static_cast<std::int64_t>(now.QuadPart / frequency * 1'000'000 + now.QuadPart % frequency * 1'000'000 / frequency);
}

void Win32Clock::Wait(int ms) {
  ui_.PumpEvents();
  if (ms > 0) SleepUntil(NowMicros() + std::int64_t{ms} * 1000);
  ui_.PumpEvents();
}

void Win32Clock::WaitUntil(std::int64_t micros) {
  ui_.PumpEvents();
  SleepUntil(micros);
  ui_.PumpEvents();
}

void Win32Clock::SleepUntil(std::int64_t deadline) {
  // Timers end up to a millisecond late: the timer ends the wait that
  // much early, and the rest is waited out giving way to other threads
  // (events still run), so the wait ends on time to a few microseconds.
  const std::int64_t sleep_until = deadline - kFinishMicros;
  if (NowMicros() >= deadline) return;
  KernelHandle timer = MakeTimer();
  LARGE_INTEGER due;
  due.QuadPart = -(sleep_until - NowMicros()) * 10;
  const bool armed = due.QuadPart < 0 && timer && SetWaitableTimer(timer.get(), &due, 0, nullptr, nullptr, FALSE);
  for (;;) {
    const std::int64_t left = sleep_until - NowMicros();
    if (left <= 0) break;
    // The timeout is only a guard: the timer ends the wait on time, and a
    // failed timer still ends it at the deadline instead of spinning.
    const DWORD timeout = static_cast<DWORD>(left / 1000 + 1);
    if (ui_.Destroyed()) {
      // No window left to keep alive (the program is closing): just sleep.
      Sleep(timeout);
      continue;
    }
    HANDLE handle = timer.get();
    const DWORD result = armed ? MsgWaitForMultipleObjectsEx(1, &handle, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE)
                               : MsgWaitForMultipleObjectsEx(0, nullptr, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (armed && result == WAIT_OBJECT_0) break;
    if (result == WAIT_OBJECT_0 + (armed ? 1 : 0)) ui_.PumpEvents();
  }
  while (NowMicros() < deadline) {
    if (!ui_.Destroyed() &&
        MsgWaitForMultipleObjectsEx(0, nullptr, 0, QS_ALLINPUT, MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0)
      ui_.PumpEvents();
    else
      SwitchToThread();
  }
}

void Win32Clock::WaitDue(std::int64_t due_ticks) {
  KernelHandle timer = MakeTimer();
  LARGE_INTEGER due;
  due.QuadPart = due_ticks;
  // A timer that could not be made or set ends the wait at once: waiting on
  // an invalid handle would fail at once, again and again.
  if (!timer || !SetWaitableTimer(timer.get(), &due, 0, nullptr, nullptr, FALSE)) return;
  HANDLE handle = timer.get();
  for (;;) {
    const DWORD result = ui_.Destroyed() ? WaitForSingleObject(handle, INFINITE)
                                         : MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_ALLINPUT);
    if (result == WAIT_OBJECT_0 + 1) {
      ui_.PumpEvents();
      continue;
    }
    return;  // signalled, or failed: never spin
  }
}

}  // namespace tovan::rt::win32
