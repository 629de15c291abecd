#include <thread>

#include "tests/win/win32_fixture.h"

namespace tovan::rt::win32 {
namespace {

using Win32ClipboardTest = Win32Test;

TEST_F(Win32ClipboardTest, ChineseTextRoundTripsAndTheEmptyTextClears) {
  ASSERT_TRUE(platform->clipboard.SetText("张三\r\n李四★"));
  EXPECT_EQ(platform->clipboard.Text(), "张三\r\n李四★");
  ASSERT_TRUE(platform->clipboard.SetText(""));
  EXPECT_EQ(platform->clipboard.Text(), "");
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_EQ(CountClipboardFormats(), 0);
  CloseClipboard();
}

TEST_F(Win32ClipboardTest, WritesStayOutOfClipboardHistoryButReachRemoteClipboardBridges) {
  ASSERT_TRUE(platform->clipboard.SetText("row"));
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_FALSE(IsClipboardFormatAvailable(RegisterClipboardFormatW(L"ExcludeClipboardContentFromMonitorProcessing")));
  EXPECT_TRUE(IsClipboardFormatAvailable(RegisterClipboardFormatW(L"CanIncludeInClipboardHistory")));
  EXPECT_TRUE(IsClipboardFormatAvailable(RegisterClipboardFormatW(L"CanUploadToCloudClipboard")));
  CloseClipboard();
}

TEST_F(Win32ClipboardTest, AWriteWaitsForAnotherHolderInsteadOfFailing) {
  HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread holder([&] {
    OpenClipboard(nullptr);
    SetEvent(opened);
    Sleep(300);
    CloseClipboard();
  });
  WaitForSingleObject(opened, 5000);
  const bool written = platform->clipboard.SetText("after the holder");
  holder.join();
  CloseHandle(opened);
  EXPECT_TRUE(written);
  EXPECT_EQ(platform->clipboard.Text(), "after the holder");
}

}  // namespace
}  // namespace tovan::rt::win32
