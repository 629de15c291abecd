// Starts the real program next to the test program and waits for its main
// window; closes it like a user at the end.
#pragma once

#include "driver/program_window_test.h"

namespace tovan::e2e {

inline constexpr char kTovanTitle[] = "2018Tovan复制粘贴工具V10.0";

class TovanTest : public ProgramWindowTest {
 protected:
  void SetUp() override { Launch(L"tovan.exe", kTovanTitle); }
};

}  // namespace tovan::e2e
