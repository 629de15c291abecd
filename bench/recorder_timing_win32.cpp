// Timed scenario under Wine, in one process with the real program: the
// recorder records fast typing (how long its hook procedures take, and
// whether every key arrives), then replays 100 key rows recorded with a
// 10 ms delay (how far each event lands from 10 ms after the one before).
// A thread of its own watches the replayed keys with a hook and stamps them.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

#include "runtime/win32/win32_platform.h"
#include "shell/app.h"

namespace {

using namespace tovan;
using Clock = std::chrono::steady_clock;
constexpr WORD kKey = VK_F15;  // a key that nothing in the window reacts to
constexpr int kTypedKeys = 300;
constexpr int kReplayRows = 100;

std::mutex stamps_lock;
std::vector<Clock::time_point> stamps;
std::atomic<DWORD> watcher_thread{0};

LRESULT CALLBACK Watch(int code, WPARAM message, LPARAM data) {
  const auto& key = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
  if (code == HC_ACTION && key.vkCode == kKey && message == WM_KEYDOWN && key.dwExtraInfo == rt::kInjectedByTovan) {
    std::lock_guard lock(stamps_lock);
    stamps.push_back(Clock::now());
  }
  return CallNextHookEx(nullptr, code, message, data);
}

void Pump(rt::win32::Win32Platform& platform, int ms) { platform.clock.Wait(ms); }

void Click(rt::win32::Win32Platform& platform, const char* button) {
  platform.ui.Raise(button, rt::Event{.kind = rt::EventKind::kClicked});
}

}  // namespace

int wmain() {
  rt::win32::PrepareProcess();
  rt::win32::Win32Platform platform(GetModuleHandleW(nullptr));
  shell::App app(platform.Services());
  app.Start();
  Pump(platform, 1500);

  // The keys go to another program's field, as when a user records: a
  // window of a thread of its own.
  std::atomic<HWND> field{nullptr};
  std::thread other([&] {
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 80, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    field = edit;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    DestroyWindow(edit);
  });
  while (!field) Sleep(1);
  // Fast typing while recording: key down and up, as fast as SendInput goes.
  Click(platform, "按钮5");
  app.Recorder().RecordHotkey();
  SetForegroundWindow(field);
  Pump(platform, 300);
  std::vector<INPUT> keys;
  for (int i = 0; i < kTypedKeys; ++i)
    for (bool up : {false, true}) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wVk = kKey;
      input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
      keys.push_back(input);
    }
  // Typed from another thread, as a user types while the window waits.
  const auto typed = Clock::now();
  std::thread typist([&] { SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT)); });
  const std::size_t wanted = 2 * kTypedKeys;
  for (int waited = 0; app.Events().RowCount() < wanted && waited < 10000; waited += 10) Pump(platform, 10);
  typist.join();
  const double recording_ms = std::chrono::duration<double, std::milli>(Clock::now() - typed).count();
  std::printf("recording %d typed keys (%d events): %zu rows in %.0f ms; longest hook procedure call %lld us\n",
              kTypedKeys, 2 * kTypedKeys, app.Events().RowCount(), recording_ms,
              static_cast<long long>(rt::win32::LongestHookCallMicros()));
  app.Recorder().RecordHotkey();  // stop
  PostThreadMessageW(GetWindowThreadProcessId(field, nullptr), WM_QUIT, 0, 0);
  other.join();

  // Replay of key presses recorded with a 10 ms delay each.
  app.Events().Clear();
  for (int i = 0; i < kReplayRows; ++i) app.Events().Append({"按键", "", "", std::to_string(kKey), "0", "", "", "10"});
  platform.ui["选择框94"].SetChecked(true);
  std::thread watcher([] {
    watcher_thread = GetCurrentThreadId();
    HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, Watch, GetModuleHandleW(nullptr), 0);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    UnhookWindowsHookEx(hook);
  });
  while (!watcher_thread) Sleep(1);
  Sleep(200);
  Click(platform, "按钮117");
  Pump(platform, 300);
  PostThreadMessageW(watcher_thread, WM_QUIT, 0, 0);
  watcher.join();

  std::vector<double> errors;
  for (std::size_t i = 1; i < stamps.size(); ++i)
    errors.push_back(std::abs(std::chrono::duration<double, std::milli>(stamps[i] - stamps[i - 1]).count() - 10.0));
  std::sort(errors.begin(), errors.end());
  if (errors.empty()) {
    std::printf("replay: no replayed key was seen\n");
    return 1;
  }
  double total = 0;
  for (double e : errors) total += e;
  std::printf("replay of %d rows with 10 ms delays: %zu events seen; |interval - 10 ms|: mean %.2f, median %.2f, "
              "p90 %.2f, max %.2f ms\n",
              kReplayRows, stamps.size(), total / errors.size(), errors[errors.size() / 2],
              errors[errors.size() * 9 / 10], errors.back());
  platform.ui.Destroy();
  return 0;
}
