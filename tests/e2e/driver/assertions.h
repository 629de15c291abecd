// GoogleTest assertions that wait for another program to show an effect.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "driver/wait_until.h"
#include "driver/window.h"

namespace tovan::e2e {

// Waits until the window's text (WM_GETTEXT) is exactly expected; on
// time-out the failure shows the text it holds instead.
//   EXPECT_TRUE(TextBecomes(field, "张三"));
inline ::testing::AssertionResult TextBecomes(HWND hwnd, const std::string& expected,
                                              int timeout_ms = kDefaultTimeoutMs) {
  if (WaitUntil([&] { return WindowText(hwnd) == expected; }, timeout_ms)) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "the text is \"" << WindowText(hwnd).value_or("<no answer>") << "\", expected \""
         << expected << "\"";
}

}  // namespace tovan::e2e
