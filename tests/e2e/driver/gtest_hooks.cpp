#include "driver/gtest_hooks.h"

#include <windows.h>

#include <cstdio>

#include "driver/screenshot.h"
#include "driver/text.h"

namespace tovan::e2e {

namespace {

std::wstring ThisProgramName() {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
  const size_t dot = name.rfind(L'.');
  return dot == std::wstring::npos ? name : name.substr(0, dot);
}

// Test names may hold characters a file name cannot (parameterised tests).
std::wstring FileNamePart(const std::string& text) {
  std::wstring part = Utf8ToWide(text);
  for (wchar_t& c : part) {
    if (c < 32 || std::wstring_view(L"<>:\"/\\|?*").find(c) != std::wstring_view::npos) c = L'_';
  }
  return part;
}

}  // namespace

std::wstring ResultsDirectory() {
  const DWORD size = GetEnvironmentVariableW(L"TOVAN_RESULTS", nullptr, 0);
  if (size > 1) {
    std::wstring folder(size, L'\0');
    folder.resize(GetEnvironmentVariableW(L"TOVAN_RESULTS", folder.data(), size));
    return folder;
  }
  std::wstring folder(MAX_PATH, L'\0');
  folder.resize(GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
  return folder;
}

std::wstring ScreenshotOnFailure::PathFor(const std::string& suite, const std::string& name) {
  return ResultsDirectory() + L"\\" + ThisProgramName() + L"-" + FileNamePart(suite) + L"." +
         FileNamePart(name) + L".bmp";
}

void ScreenshotOnFailure::OnTestStart(const ::testing::TestInfo&) { taken_ = false; }

void ScreenshotOnFailure::OnTestPartResult(const ::testing::TestPartResult& result) {
  if (!result.failed() || taken_) return;
  taken_ = true;
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::wstring path = test != nullptr ? PathFor(test->test_suite_name(), test->name())
                                            : PathFor("global", "setup");
  CreateDirectoryW(ResultsDirectory().c_str(), nullptr);
  if (SaveScreenshot(path)) {
    std::printf("[ screenshot ] %s\n", WideToUtf8(path).c_str());
  } else {
    std::printf("[ screenshot ] could not save %s (error %lu)\n", WideToUtf8(path).c_str(),
                GetLastError());
  }
  std::fflush(stdout);
}

void AnsiCodePageEnvironment::SetUp() {
  ASSERT_EQ(GetACP(), 936u)
      << "the end-to-end tests need the Chinese ANSI code page (936); run them through "
         "tools/wine/run.sh, which starts Wine with LANG=zh_CN.UTF-8";
}

}  // namespace tovan::e2e
