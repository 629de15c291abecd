#include <windows.h>

#include <system_error>
#include <thread>

#include "runtime/win32/handles.h"
#include "runtime/win32/win32_services.h"

namespace tovan::rt::win32 {

void Win32Worker::Run(const std::function<void()>& job) {
  KernelHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  std::thread thread;
  if (done) {
    try {
      thread = std::thread([&job, event = done.get()] {
        job();
        SetEvent(event);
      });
    } catch (const std::system_error&) {
      // No thread to be had: the job runs here, as it would have anyway.
    }
  }
  if (!thread.joinable()) {
    job();
    return;
  }
  HANDLE handle = done.get();
  for (;;) {
    const DWORD result = ui_.Destroyed()
                             ? WaitForSingleObject(handle, INFINITE)
                             : MsgWaitForMultipleObjectsEx(1, &handle, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (result == WAIT_OBJECT_0 + 1) {
      ui_.PumpEvents();
      continue;
    }
    break;  // finished (or a failed wait: the join below waits for the job)
  }
  thread.join();
}

}  // namespace tovan::rt::win32
