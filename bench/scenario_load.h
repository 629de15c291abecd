// What the timed scenarios share: a machine made busy on every core by
// spinning processes, a prober asking a window whether it answers, and the
// peak working set of a process.
#pragma once

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "driver/process.h"

namespace tovan::bench {

using Clock = std::chrono::steady_clock;

inline double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// The argument that makes a scenario program a spinner: it then spins a core
// until it is ended.
inline constexpr wchar_t kSpinArgument[] = L"--spin";

[[noreturn]] inline void Spin() {
  volatile unsigned long long n = 0;
  for (;;) n = n + 1;
}

// A busy process on every core while it lives (none for `busy` false).
class BusyMachine {
 public:
  explicit BusyMachine(bool busy) {
    if (!busy) return;
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    for (DWORD i = 0; i < info.dwNumberOfProcessors; ++i)
      spinners_.push_back(e2e::ChildProcess::Start(self, {kSpinArgument}));
    Sleep(300);  // until they spin
  }
  ~BusyMachine() {
    for (auto& spinner : spinners_) spinner.Terminate();
  }
  BusyMachine(const BusyMachine&) = delete;
  BusyMachine& operator=(const BusyMachine&) = delete;
  static const char* Name(bool busy) { return busy ? "loaded" : "quiet"; }

 private:
  std::vector<e2e::ChildProcess> spinners_;
};

// Asks the window with WM_NULL in a loop and keeps every answer's delay.
class Prober {
 public:
  explicit Prober(HWND window) : window_(window), thread_([this] { Run(); }) {}
  ~Prober() {
    stop_ = true;
    thread_.join();
  }
  Prober(const Prober&) = delete;
  Prober& operator=(const Prober&) = delete;
  // The longest answer among the questions asked between the two moments.
  double LongestMs(Clock::time_point from, Clock::time_point to) {
    std::lock_guard lock(mutex_);
    double longest = 0;
    for (const auto& [asked, took] : probes_)
      if (asked + took >= from && asked <= to) longest = std::max(longest, Ms(took));
    return longest;
  }

 private:
  void Run() {
    while (!stop_) {
      const auto asked = Clock::now();
      DWORD_PTR result = 0;
      SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_BLOCK, 20000, &result);
      const auto took = Clock::now() - asked;
      {
        std::lock_guard lock(mutex_);
        probes_.emplace_back(asked, took);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }
  HWND window_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::pair<Clock::time_point, Clock::duration>> probes_;
  std::thread thread_;
};

// The most memory the process has held in RAM so far, in MB (0 when the
// system does not say).
inline double PeakWorkingSetMb(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) return 0;
  return static_cast<double>(counters.PeakWorkingSetSize) / 1e6;
}

// The memory the process holds in RAM now, in MB (0 when the system does
// not say).
inline double WorkingSetMb(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) return 0;
  return static_cast<double>(counters.WorkingSetSize) / 1e6;
}

}  // namespace tovan::bench
