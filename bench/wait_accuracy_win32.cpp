// Timed scenario: how closely the Win32 wait keeps its time, and that the
// window keeps handling its events meanwhile. Prints the error distribution
// of each duration (actual − asked, in milliseconds) and the timer ticks the
// window handled during the waits.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "runtime/timer_wait.h"
#include "runtime/win32/win32_platform.h"

using namespace tovan::rt;

int wmain() {
  win32::PrepareProcess();
  win32::Win32Platform platform(GetModuleHandleW(nullptr));
  platform.ui.Build(WindowLayout{.title = "wait accuracy", .width = 200, .height = 100},
                    {UnitLayout{.name = "时钟", .kind = UnitKind::kTimer}});
  platform.ui.Show();
  int ticks = 0;
  platform.ui.Bind("时钟", EventKind::kTick, [&](const Event&) { ++ticks; });
  platform.ui["时钟"].SetTimerPeriod(10);

  std::printf("%-10s %6s %5s %8s %8s %8s %8s %8s %10s\n", "wait", "ms", "runs", "min", "median", "p90", "max", "mean",
              "ticks/s");
  for (const bool timer_wait : {false, true})
  for (const int ms : {10, 50, 100, 500}) {
    const int runs = ms >= 500 ? 10 : 40;
    std::vector<double> errors;
    ticks = 0;
    double total_ms = 0;
    for (int i = 0; i < runs; ++i) {
      const std::int64_t start = platform.clock.NowMicros();
      if (timer_wait)
        TimerWait(platform.clock, ms);
      else
        platform.clock.Wait(ms);
      const double took = (platform.clock.NowMicros() - start) / 1000.0;
      total_ms += took;
      errors.push_back(took - ms);
    }
    std::sort(errors.begin(), errors.end());
    double mean = 0;
    for (double e : errors) mean += e;
    mean /= errors.size();
    std::printf("%-10s %6d %5d %8.2f %8.2f %8.2f %8.2f %8.2f %10.1f\n", timer_wait ? "TimerWait" : "Wait", ms, runs, errors.front(), errors[errors.size() / 2],
                errors[errors.size() * 9 / 10], errors.back(), mean, ticks * 1000.0 / total_ms);
  }
  platform.ui.Destroy();
  return 0;
}
