#include "runtime/win32/automation_thread.h"

#include <objbase.h>

#include <system_error>

#include "runtime/win32/handles.h"

namespace tovan::rt::win32 {

AutomationThread::AutomationThread(Ui& ui) : ui_(ui), shared_(std::make_shared<Shared>()) {
  try {
    thread_ = std::thread([shared = shared_] {
      // A multithreaded apartment: calls out of it need no message loop here.
      const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
      for (;;) {
        std::function<void()> job;
        {
          std::unique_lock lock(shared->lock);
          shared->wake.wait(lock, [&] { return shared->quit || !shared->jobs.empty(); });
          if (shared->jobs.empty()) break;
          job = std::move(shared->jobs.front());
          shared->jobs.pop_front();
        }
        job();
      }
      if (com) CoUninitialize();
    });
  } catch (const std::system_error&) {
    // No thread: every call fails, as with no office program at all.
  }
}

AutomationThread::~AutomationThread() {
  if (!thread_.joinable()) return;
  bool hung = false;
  {
    std::lock_guard lock(shared_->lock);
    shared_->quit = true;
    hung = shared_->hung;
  }
  shared_->wake.notify_one();
  if (hung)
    thread_.detach();
  else
    thread_.join();
}

void AutomationThread::Post(std::function<void()> job) {
  if (!thread_.joinable()) return;
  {
    std::lock_guard lock(shared_->lock);
    shared_->jobs.push_back(std::move(job));
  }
  shared_->wake.notify_one();
}

bool AutomationThread::Hung() const {
  std::lock_guard lock(shared_->lock);
  return shared_->hung;
}

bool AutomationThread::Run(std::function<void()> job, int limit_ms) {
  if (!thread_.joinable()) return false;
  {
    std::lock_guard lock(shared_->lock);
    if (shared_->calling) return false;
    shared_->calling = true;
  }
  // Whether the call came back, and whether the window gave up on it: the
  // one that comes second decides, under the lock.
  struct State {
    KernelHandle done{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    bool finished = false;
    bool abandoned = false;
  };
  auto state = std::make_shared<State>();
  if (!state->done) {
    std::lock_guard lock(shared_->lock);
    shared_->calling = false;
    return false;
  }
  Post([job = std::move(job), state, shared = shared_] {
    job();
    std::lock_guard lock(shared->lock);
    state->finished = true;
    shared->calling = false;
    shared->hung = false;
    SetEvent(state->done.get());
  });
  if (WaitRunningEvents(state->done.get(), limit_ms)) return true;
  std::lock_guard lock(shared_->lock);
  if (state->finished) return true;
  state->abandoned = true;
  shared_->hung = true;
  return false;
}

bool AutomationThread::WaitRunningEvents(HANDLE event, int limit_ms) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(limit_ms > 0 ? limit_ms : 0);
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
    const DWORD left = static_cast<DWORD>(deadline - now);
    const DWORD result = ui_.Destroyed() ? WaitForSingleObject(event, left)
                                         : MsgWaitForMultipleObjectsEx(1, &event, left, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (result == WAIT_OBJECT_0) return true;
    if (result != WAIT_OBJECT_0 + 1) return false;  // the time is up (or the wait failed)
    ui_.PumpEvents();
  }
}

}  // namespace tovan::rt::win32
