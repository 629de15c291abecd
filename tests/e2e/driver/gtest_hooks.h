// GoogleTest pieces every end-to-end test program installs (see
// e2e_main.cpp): a screenshot at a test's first failure, and a check that
// the program runs with the Chinese ANSI code page.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace tovan::e2e {

// Folder for screenshots and other files of failed tests: the TOVAN_RESULTS
// environment variable, else the current folder.
std::wstring ResultsDirectory();

// Saves a screenshot when a test records its first failure (while the
// windows that failed are still on screen) as
// RESULTS/<program>-<suite>.<test>.bmp, and prints where it went.
class ScreenshotOnFailure : public ::testing::EmptyTestEventListener {
 public:
  void OnTestStart(const ::testing::TestInfo& test) override;
  void OnTestPartResult(const ::testing::TestPartResult& result) override;

  // Where the screenshot for a test of that suite and name goes.
  static std::wstring PathFor(const std::string& suite, const std::string& name);

 private:
  bool taken_ = false;
};

// Fails every test unless GetACP() is 936: the product's GBK boundaries are
// only exercised under the Chinese code page (run through tools/wine/run.sh).
class AnsiCodePageEnvironment : public ::testing::Environment {
 public:
  void SetUp() override;
};

}  // namespace tovan::e2e
