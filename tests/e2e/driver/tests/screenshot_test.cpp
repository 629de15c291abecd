// Screenshots of the display, taken directly and by the failure listener.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

#include "driver/gtest_hooks.h"
#include "driver/screenshot.h"
#include "driver/wait_until.h"
#include "scratch_path.h"
#include "target_fixture.h"

namespace tovan::e2e {
namespace {

std::vector<char> ReadAll(const std::wstring& path) {
  std::ifstream file{std::filesystem::path(path), std::ios::binary};
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

using ScreenshotTest = TargetTest;

// Distinct colours among a sample of the bitmap's pixels (up to 3).
size_t SampleColours(const std::vector<char>& bytes, size_t pixels_offset) {
  std::set<int> colours;
  for (size_t i = pixels_offset; i + 2 < bytes.size() && colours.size() < 3; i += 3 * 97) {
    colours.insert((bytes[i] & 0xFF) | (bytes[i + 1] & 0xFF) << 8 | (bytes[i + 2] & 0xFF) << 16);
  }
  return colours.size();
}

TEST_F(ScreenshotTest, BitmapFileHoldsTheWholeScreen) {
  const std::wstring path = ScratchPath(L"screenshot.bmp");
  // The target's frame, fields and labels give many colours once drawn; an
  // empty screen or a failed copy gives one.
  std::vector<char> bytes;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  const bool drawn = WaitUntil(
      [&] {
        if (!SaveScreenshot(path)) return false;
        bytes = ReadAll(path);
        if (bytes.size() < sizeof file + sizeof info) return false;
        std::copy_n(bytes.begin(), sizeof file, reinterpret_cast<char*>(&file));
        std::copy_n(bytes.begin() + sizeof file, sizeof info, reinterpret_cast<char*>(&info));
        return SampleColours(bytes, file.bfOffBits) >= 3;
      },
      kDefaultTimeoutMs, 50);
  DeleteFileW(path.c_str());
  EXPECT_TRUE(drawn);
  ASSERT_GT(bytes.size(), sizeof file + sizeof info);
  EXPECT_EQ(file.bfType, 0x4D42);
  EXPECT_EQ(file.bfSize, bytes.size());
  EXPECT_EQ(info.biWidth, GetSystemMetrics(SM_CXVIRTUALSCREEN));
  EXPECT_EQ(info.biHeight, GetSystemMetrics(SM_CYVIRTUALSCREEN));
  EXPECT_EQ(info.biBitCount, 24);
}

// Points TOVAN_RESULTS at a folder of its own for the lifetime of the object.
class ResultsFolderOverride {
 public:
  explicit ResultsFolderOverride(const std::wstring& folder) {
    wchar_t previous[MAX_PATH * 2] = {};
    had_previous_ = GetEnvironmentVariableW(L"TOVAN_RESULTS", previous, MAX_PATH * 2) > 0;
    previous_ = previous;
    CreateDirectoryW(folder.c_str(), nullptr);
    SetEnvironmentVariableW(L"TOVAN_RESULTS", folder.c_str());
  }
  ~ResultsFolderOverride() {
    SetEnvironmentVariableW(L"TOVAN_RESULTS", had_previous_ ? previous_.c_str() : nullptr);
  }

 private:
  bool had_previous_ = false;
  std::wstring previous_;
};

TEST(ScreenshotOnFailureTest, FirstFailureOfATestSavesOneScreenshotInResultsFolder) {
  const std::wstring folder = ScratchPath(L"results");
  ResultsFolderOverride results(folder);
  const std::wstring path = ScreenshotOnFailure::PathFor("Suite", "Name");
  EXPECT_EQ(path, folder + L"\\tovan_driver_tests-Suite.Name.bmp");
  EXPECT_EQ(ScreenshotOnFailure::PathFor("Param/Suite", "Name/1"),
            folder + L"\\tovan_driver_tests-Param_Suite.Name_1.bmp");

  const ::testing::TestPartResult failure(::testing::TestPartResult::kNonFatalFailure, "x.cpp", 1,
                                          "made-up failure");
  const ::testing::TestPartResult success(::testing::TestPartResult::kSuccess, "x.cpp", 1, "");
  const std::wstring expected = ScreenshotOnFailure::PathFor(
      "ScreenshotOnFailureTest", "FirstFailureOfATestSavesOneScreenshotInResultsFolder");

  ScreenshotOnFailure listener;
  listener.OnTestStart(*::testing::UnitTest::GetInstance()->current_test_info());
  listener.OnTestPartResult(success);
  EXPECT_EQ(GetFileAttributesW(expected.c_str()), INVALID_FILE_ATTRIBUTES);
  listener.OnTestPartResult(failure);
  EXPECT_GT(ReadAll(expected).size(), 1000u);
  DeleteFileW(expected.c_str());
  // Only the first failure of a test takes one.
  listener.OnTestPartResult(failure);
  EXPECT_EQ(GetFileAttributesW(expected.c_str()), INVALID_FILE_ATTRIBUTES);
  RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace tovan::e2e
