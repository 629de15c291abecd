// The program being filled, watched through messages sent with a time
// limit or a callback, never waiting on it.
#pragma once

#include <windows.h>

#include <cstdint>

#include "runtime/target.h"

namespace tovan::rt::win32 {

class Win32Target : public Target {
 public:
  bool Answering(std::uintptr_t window) override;
  std::uintptr_t FocusOf(std::uintptr_t window) const override;
  std::uintptr_t TopLevelOf(std::uintptr_t window) const override;
  bool IsField(std::uintptr_t control) const override;
  std::optional<FieldState> ReadField(std::uintptr_t control) override;
  bool FieldIs(std::uintptr_t control, const FieldState& state) override;

 private:
  // The message sent to learn whether the window's thread answers: one at
  // a time, its answer arriving as a callback while this thread runs its
  // events.
  static void CALLBACK Answered(HWND window, UINT message, ULONG_PTR probe, LRESULT result);
  static std::uint64_t answered_;  // the newest probe answered

  HWND probed_ = nullptr;
  std::uint64_t probe_ = 0;  // the newest probe sent
  ULONGLONG sent_at_ = 0;
  bool outstanding_ = false;
  bool answering_ = true;
};

}  // namespace tovan::rt::win32
