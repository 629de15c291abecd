#include <windows.h>

#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

#include "runtime/win32/handles.h"
#include "runtime/win32/win32_services.h"

namespace tovan::rt::win32 {

void Win32Worker::RunTogether(std::initializer_list<std::function<void()>> jobs) {
  KernelHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  std::atomic<std::size_t> running{jobs.size()};
  std::vector<std::thread> threads;
  std::vector<const std::function<void()>*> here;  // jobs no thread could be had for
  for (const std::function<void()>& job : jobs) {
    if (done) {
      try {
        // At normal priority, below the window thread's (see Win32Ui): the
        // window gets a core the moment an event arrives, and the jobs are
        // not starved by other programs' busy threads.
        threads.emplace_back([&job, &running, event = done.get()] {
          job();
          if (--running == 0) SetEvent(event);
        });
        continue;
      } catch (const std::system_error&) {
      }
    }
    here.push_back(&job);
  }
  // Without threads, the jobs run here, as they would have anyway.
  for (const std::function<void()>* job : here) {
    (*job)();
    if (--running == 0 && done) SetEvent(done.get());
  }
  if (!threads.empty()) {
    HANDLE handle = done.get();
    for (;;) {
      const DWORD result = ui_.Destroyed()
                               ? WaitForSingleObject(handle, INFINITE)
                               : MsgWaitForMultipleObjectsEx(1, &handle, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
      if (result == WAIT_OBJECT_0 + 1) {
        ui_.PumpEvents();
        continue;
      }
      break;  // finished (or a failed wait: the joins below wait for the jobs)
    }
  }
  for (std::thread& thread : threads) thread.join();
}

}  // namespace tovan::rt::win32
