#include "driver/paste_timing.h"

#include <algorithm>
#include <chrono>

#include "driver/clipboard.h"
#include "driver/input.h"
#include "driver/window.h"

namespace tovan::e2e {
namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Waits exactly `ms`: a sleep a little short, then giving way to others.
void WaitExactly(int ms) {
  const auto start = Clock::now();
  if (ms > 2) Sleep(static_cast<DWORD>(ms - 2));
  while (Clock::now() - start < std::chrono::milliseconds(ms)) SwitchToThread();
}

}  // namespace

std::string FieldTextWithoutCr(HWND field) {
  std::string text = WindowText(field).value_or("");
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

std::size_t NumberedRowLength(int i) { return 1 + std::to_string(i).size(); }

std::vector<double> RowArrivals(HWND field, int rows, std::size_t (*row_length)(int), std::size_t after,
                                int stall_ms) {
  const auto start = Clock::now();
  std::size_t expected = FieldTextWithoutCr(field).size();
  std::vector<double> arrivals;
  for (int i = 1; i <= rows; ++i) {
    expected += row_length(i) + (i < rows ? after : 0);
    while (FieldTextWithoutCr(field).size() < expected) {
      if (MsSince(start) - (arrivals.empty() ? 0 : arrivals.back()) > stall_ms) return arrivals;
      Sleep(1);
    }
    arrivals.push_back(MsSince(start));
  }
  return arrivals;
}

std::vector<double> MinimalPaste(HWND field, int rows, int clipboard_wait_ms, UINT key, int key_wait_ms) {
  std::vector<double> beyond;
  std::size_t length = FieldTextWithoutCr(field).size();
  for (int i = 1; i <= rows; ++i) {
    const auto start = Clock::now();
    std::string text = "r";
    text += std::to_string(i);
    if (!SetClipboardText(text)) return {};
    WaitExactly(clipboard_wait_ms);
    PressChord({VK_CONTROL}, 'V');
    length += NumberedRowLength(i);
    double waits = clipboard_wait_ms;
    if (key != 0) {
      WaitExactly(key_wait_ms);
      PressKey(key);
      length += 1;
      waits += key_wait_ms;
    }
    while (FieldTextWithoutCr(field).size() < length) {
      if (MsSince(start) > 3000) return {};
      Sleep(1);
    }
    beyond.push_back(MsSince(start) - waits);
  }
  return beyond;
}

double Median(std::vector<double> values) {
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace tovan::e2e
