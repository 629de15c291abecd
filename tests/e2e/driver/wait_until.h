// Waiting for a condition with a deadline: the only way tests wait.
#pragma once

#include <chrono>
#include <thread>

namespace tovan::e2e {

// How long a test waits for the other process to show an effect.
inline constexpr int kDefaultTimeoutMs = 5000;

// Calls predicate every poll_ms until it returns true or timeout_ms have
// passed; returns the predicate's last answer. The predicate is always
// asked at least once, and once more at the deadline.
template <class Predicate>
bool WaitUntil(Predicate&& predicate, int timeout_ms = kDefaultTimeoutMs, int poll_ms = 5) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!predicate()) {
    if (std::chrono::steady_clock::now() >= deadline) return predicate();
    std::this_thread::sleep_for(std::chrono::milliseconds(poll_ms));
  }
  return true;
}

}  // namespace tovan::e2e
