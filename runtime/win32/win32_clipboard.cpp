#include <windows.h>

#include <cstring>

#include "runtime/win32/handles.h"
#include "runtime/win32/picture.h"
#include "runtime/win32/wide.h"
#include "runtime/win32/win32_services.h"

namespace tovan::rt::win32 {
namespace {

constexpr int kOpenAttempts = 100;  // 10 ms apart: about a second in all

// Formats by which clipboard history and cloud clipboard viewers learn to
// leave a write alone: the program writes one row after another. Other
// clipboard monitors are not told to look away: remote-desktop and
// virtual-machine clipboard bridges are monitors, and rows are often pasted
// into a remote session.
void MarkPrivate() {
  static const UINT history = RegisterClipboardFormatW(L"CanIncludeInClipboardHistory");
  static const UINT cloud = RegisterClipboardFormatW(L"CanUploadToCloudClipboard");
  for (UINT format : {history, cloud}) {
    GlobalMemory zero(GlobalAlloc(GMEM_MOVEABLE, sizeof(DWORD)));
    if (!zero) continue;
    {
      GlobalLockGuard<DWORD> lock(zero.get());
      if (!lock.get()) continue;
      *lock.get() = 0;
    }
    if (SetClipboardData(format, zero.get())) zero.release();
  }
}

}  // namespace

ClipboardSession::ClipboardSession(HWND owner) {
  for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
    if (OpenClipboard(owner)) {
      open_ = true;
      return;
    }
    Sleep(10);
  }
}

bool Win32Clipboard::SetText(std::string_view text) {
  ClipboardSession session(ui_.MainWindow());
  if (!session.open() || !EmptyClipboard()) return false;
  if (text.empty()) return true;
  const std::wstring wide = Wide(text);
  GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t)));
  if (!memory) return false;
  {
    GlobalLockGuard<wchar_t> lock(memory.get());
    if (!lock.get()) return false;
    std::memcpy(lock.get(), wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
  }
  if (!SetClipboardData(CF_UNICODETEXT, memory.get())) return false;
  memory.release();  // the clipboard owns it now
  MarkPrivate();
  return true;
}

bool Win32Clipboard::SetPicture(std::string_view image_bytes) {
  const std::optional<Picture> picture = DecodePicture(image_bytes);
  if (!picture) return false;
  // A device-dependent bitmap and a packed DIB: both cross to other
  // programs, and both belong to the clipboard once it has taken them.
  Bitmap bitmap(MakeBitmap(*picture));
  GlobalMemory dib(MakePackedDib(*picture));
  if (!bitmap || !dib) return false;
  ClipboardSession session(ui_.MainWindow());
  if (!session.open() || !EmptyClipboard()) return false;
  if (!SetClipboardData(CF_BITMAP, bitmap.get())) return false;
  bitmap.release();
  if (SetClipboardData(CF_DIB, dib.get())) dib.release();
  MarkPrivate();
  return true;
}

std::string Win32Clipboard::Text() {
  ClipboardSession session(ui_.MainWindow());
  if (!session.open()) return {};
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (!data) return {};
  GlobalLockGuard<const wchar_t> lock(data);
  if (!lock.get()) return {};
  const std::size_t limit = GlobalSize(data) / sizeof(wchar_t);
  std::size_t length = 0;
  while (length < limit && lock.get()[length] != L'\0') ++length;
  return Utf8(std::wstring_view(lock.get(), length));
}

}  // namespace tovan::rt::win32
