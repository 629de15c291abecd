// The program as a user finds it once the package is unpacked: it starts
// from its own folder and shows its window, and its file carries the
// version Explorer shows. Run by the package check (tests/package/check.sh),
// which names the unpacked folder in TOVAN_PACKAGE_DIR.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "driver/process.h"
#include "driver/text.h"
#include "driver/window.h"
#include "tests/e2e/program/program_fixture.h"

namespace tovan::e2e {
namespace {

std::string VersionString(const std::vector<char>& info, const wchar_t* name) {
  wchar_t* value = nullptr;
  UINT length = 0;
  const std::wstring path = std::wstring(L"\\StringFileInfo\\080404b0\\") + name;
  if (!VerQueryValueW(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !value) return "";
  return WideToUtf8(std::wstring(value, length > 0 && value[length - 1] == L'\0' ? length - 1 : length));
}

TEST(PackageTest, TheUnpackedProgramStartsFromItsFolderAndCarriesItsVersion) {
  const wchar_t* folder = _wgetenv(L"TOVAN_PACKAGE_DIR");
  ASSERT_NE(folder, nullptr) << "run by tests/package/check.sh";
  const std::wstring exe = std::wstring(folder) + L"\\tovan.exe";

  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
  ASSERT_GT(size, 0u) << "no version resource";
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  const DWORD ms = TOVAN_VERSION_MAJOR << 16 | TOVAN_VERSION_MINOR;
  const DWORD ls = TOVAN_VERSION_PATCH << 16;
  EXPECT_EQ(fixed->dwFileVersionMS, ms);
  EXPECT_EQ(fixed->dwFileVersionLS, ls);
  EXPECT_EQ(fixed->dwProductVersionMS, ms);
  EXPECT_EQ(fixed->dwProductVersionLS, ls);
  EXPECT_EQ(VersionString(info, L"FileVersion"), TOVAN_VERSION);
  EXPECT_EQ(VersionString(info, L"ProductVersion"), TOVAN_VERSION);
  EXPECT_EQ(VersionString(info, L"ProductName"), "Tovan");
  EXPECT_EQ(VersionString(info, L"FileDescription"), "Tovan复制粘贴工具");
  EXPECT_EQ(VersionString(info, L"OriginalFilename"), "tovan.exe");

  ChildProcess program = ChildProcess::Start(exe);
  const HWND window = FindTopWindow(kTovanTitle, 10000, program.Id());
  ASSERT_NE(window, nullptr) << "the unpacked program showed no window";
  EXPECT_TRUE(program.WaitForInputIdle(10000));
  EXPECT_TRUE(IsShown(window));
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitExit(5000), 0u);
}

}  // namespace
}  // namespace tovan::e2e
