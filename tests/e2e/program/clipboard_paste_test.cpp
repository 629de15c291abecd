// The clipboard service and the key chord of the Win32 runtime fill a field
// of another program, as the paste engine will.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>

#include "driver/input.h"
#include "driver/process.h"
#include "driver/text.h"
#include "driver/program_window_test.h"
#include "driver/wait_until.h"
#include "driver/window.h"
#include "runtime/win32/win32_platform.h"

namespace tovan::e2e {
namespace {

class ClipboardPasteTest : public ProgramWindowTest {
 protected:
  void SetUp() override {
    rt::win32::PrepareProcess();
    // The clipboard needs an owner window: a small one of our own.
    platform_.ui.Build(rt::WindowLayout{.title = "clipboard owner", .width = 120, .height = 80}, {});
    Launch(L"tovan_target.exe", "Tovan Target");
  }
  rt::win32::Win32Platform platform_{GetModuleHandleW(nullptr)};
};

TEST_F(ClipboardPasteTest, ChineseTextPastedWithCtrlVArrivesInTheFocusedField) {
  HWND field = Child(102);
  ASSERT_NE(field, nullptr);
  ASSERT_TRUE(FocusControl(field));
  ASSERT_TRUE(platform_.clipboard.SetText("张三 Zhang\t李四"));
  platform_.keys.Chord({VK_CONTROL, 'V'});
  EXPECT_TRUE(WaitUntil([&] { return WindowText(field) == "张三 Zhang\t李四"; })) << *WindowText(field);
  EXPECT_EQ(platform_.clipboard.Text(), "张三 Zhang\t李四");
}

TEST_F(ClipboardPasteTest, TypedTextAndTabMoveThroughTheFields) {
  ASSERT_TRUE(FocusControl(Child(101)));
  platform_.keys.Type("王五");
  platform_.keys.Chord({VK_TAB});
  platform_.keys.Type("abc");
  EXPECT_TRUE(WaitUntil([&] { return WindowText(Child(101)) == "王五" && WindowText(Child(102)) == "abc"; }));
}

}  // namespace
}  // namespace tovan::e2e

namespace tovan::e2e {
namespace {

std::string ReadWhole(const std::wstring& path) {
  FILE* in = _wfopen(path.c_str(), L"rb");
  if (!in) return {};
  std::string text;
  char buffer[256];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;) text.append(buffer, n);
  std::fclose(in);
  return text;
}

class ClipboardPictureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rt::win32::PrepareProcess();
    platform_.ui.Build(rt::WindowLayout{.title = "clipboard owner", .width = 120, .height = 80}, {});
  }
  // What another process reads as the clipboard's bitmap.
  std::string ReadByAnotherProcess() {
    const std::wstring out = ThisExeDirectory() + L"\\clipboard-bitmap.txt";
    DeleteFileW(out.c_str());
    ChildProcess peer = ChildProcess::Start(ThisExeDirectory() + L"\\tovan_clipboard_peer.exe", {L"bitmap", out});
    // The picture is handed over when the other process asks for it: this
    // window answers meanwhile.
    std::optional<DWORD> code;
    for (int waited = 0; !(code = peer.WaitExit(0)) && waited < 10000; waited += 5) platform_.clock.Wait(5);
    EXPECT_EQ(code, 0u);
    return ReadWhole(out);
  }
  rt::win32::Win32Platform platform_{GetModuleHandleW(nullptr)};
};

// "<w> <h> <r,g,b> <r,g,b> <dib>": the colours within a JPEG's tolerance.
void ExpectRedAndBlue(const std::string& dump) {
  int w = 0, h = 0, lr = 0, lg = 0, lb = 0, rr = 0, rg = 0, rb = 0, dib = 0;
  ASSERT_EQ(std::sscanf(dump.c_str(), "%d %d %d,%d,%d %d,%d,%d %d", &w, &h, &lr, &lg, &lb, &rr, &rg, &rb, &dib), 9)
      << dump;
  EXPECT_EQ(w, 40);
  EXPECT_EQ(h, 30);
  EXPECT_GT(lr, 230);
  EXPECT_LT(lb, 30);
  EXPECT_LT(rr, 30);
  EXPECT_GT(rb, 230);
  EXPECT_EQ(dib, 1);
}

TEST_F(ClipboardPictureTest, PngJpegBmpAndGifAreReadBackAsABitmapByAnotherProcess) {
  for (const wchar_t* format : {L"png", L"jpg", L"bmp", L"gif"}) {
    SCOPED_TRACE(WideToUtf8(format));
    ASSERT_TRUE(platform_.clipboard.SetPicture(ReadWhole(ThisExeDirectory() + L"\\test-picture." + format)));
    ExpectRedAndBlue(ReadByAnotherProcess());
  }
}

TEST_F(ClipboardPictureTest, BytesThatAreNoPictureLeaveTheClipboardAlone) {
  ASSERT_TRUE(platform_.clipboard.SetText("kept"));
  EXPECT_FALSE(platform_.clipboard.SetPicture("not a picture"));
  EXPECT_EQ(platform_.clipboard.Text(), "kept");
}

TEST_F(ClipboardPictureTest, AClipboardHeldByAnotherProgramDelaysTheWriteInsteadOfLosingIt) {
  ChildProcess holder = ChildProcess::Start(ThisExeDirectory() + L"\\tovan_clipboard_peer.exe", {L"hold", L"300"});
  ASSERT_TRUE(WaitUntil([] {
    HANDLE held = OpenEventW(SYNCHRONIZE, FALSE, L"TovanClipboardHeld");
    if (!held) return false;
    const bool set = WaitForSingleObject(held, 0) == WAIT_OBJECT_0;
    CloseHandle(held);
    return set;
  }));
  EXPECT_TRUE(platform_.clipboard.SetText("after the holder 张三"));
  EXPECT_EQ(holder.WaitExit(5000), 0u);
  EXPECT_EQ(platform_.clipboard.Text(), "after the holder 张三");
}

}  // namespace
}  // namespace tovan::e2e
