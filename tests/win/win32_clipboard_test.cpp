#include <atomic>
#include <cstdio>
#include <thread>

#include "tests/win/win32_fixture.h"

namespace tovan::rt::win32 {
namespace {

class Win32ClipboardTest : public Win32Test {
 protected:
  // Another program's read of the clipboard text through a window of its
  // own (a clipboard manager's, or the pasting program's), while this
  // window runs its events; "(none)" when it was given nothing.
  std::wstring ReadThroughAWindow() {
    std::wstring text = L"(none)";
    std::atomic<bool> finished{false};
    std::thread reader([&] {
      HWND window = CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
      if (OpenClipboard(window)) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
          if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
          }
        }
        CloseClipboard();
      }
      DestroyWindow(window);
      finished = true;
    });
    PumpUntil([&] { return finished.load(); }, 5000);
    reader.join();
    return text;
  }
};

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

// What another program sees when it pastes: the text, read from the
// clipboard while this window keeps running.
std::wstring ReadAsAnotherProgram() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return L"(clipboard busy)";
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

TEST_F(Win32ClipboardTest, TheWaitForAPasteEndsWhenAnotherProgramHasReadTheText) {
  ASSERT_TRUE(platform->clipboard.SetText("第一行"));
  platform->clipboard.BeforePaste(0);  // into a program not known
  EXPECT_FALSE(platform->clipboard.WaitUntilTaken(0));
  std::wstring pasted;
  std::thread reader([&] {
    Sleep(150);
    pasted = ReadAsAnotherProgram();
  });
  EXPECT_TRUE(platform->clipboard.WaitUntilTaken(5000));
  reader.join();
  EXPECT_EQ(pasted, L"第一行");
  // Read once, it stays read; a new write is unread again.
  EXPECT_TRUE(platform->clipboard.WaitUntilTaken(0));
  ASSERT_TRUE(platform->clipboard.SetText("第二行"));
  EXPECT_FALSE(platform->clipboard.WaitUntilTaken(50));
}

TEST_F(Win32ClipboardTest, AWriteThatWaitsForTheClipboardRendersWhatItsHolderAsksFor) {
  // The holder opened the clipboard to read the text promised earlier; the
  // next write waits for it to close, and must meanwhile hand it the text.
  ASSERT_TRUE(platform->clipboard.SetText("第一行"));
  HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::wstring read;
  std::atomic<bool> finished{false};
  std::thread holder([&] {
    if (!OpenClipboard(nullptr)) return;
    SetEvent(opened);
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
      if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
        read = chars;
        GlobalUnlock(data);
      }
    }
    CloseClipboard();
    finished = true;
  });
  ASSERT_EQ(WaitForSingleObject(opened, 5000), WAIT_OBJECT_0);
  const DWORD start = GetTickCount();
  const bool written = platform->clipboard.SetText("第二行");
  const DWORD took = GetTickCount() - start;
  // A write that failed leaves the holder waiting for its text: the window
  // answers it here, so the test ends either way.
  PumpUntil([&] { return finished.load(); }, 5000);
  holder.join();
  CloseHandle(opened);
  EXPECT_TRUE(written);
  EXPECT_EQ(read, L"第一行");
  EXPECT_EQ(platform->clipboard.Text(), "第二行");
  std::printf("a write behind a holder waiting for its text took %lu ms\n", took);
}

TEST_F(Win32ClipboardTest, AClipboardManagersReadIsNotThePastesAndItIsNotGivenTheSameTextTwice) {
  // The window is not in front: the programs reading are someone else's.
  ShowWindow(window, SW_HIDE);
  // A clipboard manager reads the text at once; the text is then promised
  // again, and the manager's second read gets nothing.
  ASSERT_TRUE(platform->clipboard.SetText("第一行"));
  DWORD written = GetClipboardSequenceNumber();
  EXPECT_EQ(ReadThroughAWindow(), L"第一行");
  ASSERT_TRUE(PumpUntil([&] { return GetClipboardSequenceNumber() != written; })) << "not promised again";
  EXPECT_EQ(ReadThroughAWindow(), L"(none)");
  // The paste is pressed: the read of the program told to paste (here, this
  // process) gets the text and lets the next text in.
  platform->clipboard.BeforePaste(GetCurrentProcessId());
  EXPECT_FALSE(platform->clipboard.WaitUntilTaken(0));
  EXPECT_EQ(ReadThroughAWindow(), L"第一行");
  EXPECT_TRUE(platform->clipboard.WaitUntilTaken(0));
  // Pasted into another program, the manager is still not given it, nor
  // does its read count; when the window closes the text stays all the same.
  ASSERT_TRUE(platform->clipboard.SetText("第二行"));
  written = GetClipboardSequenceNumber();
  EXPECT_EQ(ReadThroughAWindow(), L"第二行");
  ASSERT_TRUE(PumpUntil([&] { return GetClipboardSequenceNumber() != written; }));
  platform->clipboard.BeforePaste(GetCurrentProcessId() + 4);
  EXPECT_EQ(ReadThroughAWindow(), L"(none)");
  EXPECT_FALSE(platform->clipboard.WaitUntilTaken(100));
  platform->ui.Destroy();
  EXPECT_EQ(ReadAsAnotherProgram(), L"第二行");
}

TEST_F(Win32ClipboardTest, TheLastTextStaysOnTheClipboardWhenTheWindowCloses) {
  ASSERT_TRUE(platform->clipboard.SetText("最后一行"));
  platform->ui.Destroy();
  EXPECT_EQ(ReadAsAnotherProgram(), L"最后一行");
}

}  // namespace
}  // namespace tovan::rt::win32
