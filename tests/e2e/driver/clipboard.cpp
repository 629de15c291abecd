#include "driver/clipboard.h"

#include <windows.h>

#include <cstring>

#include "driver/text.h"
#include "driver/wait_until.h"

namespace tovan::e2e {

namespace {

// Opens the clipboard for the lifetime of the object, retrying while another
// program holds it.
class OpenClipboardScope {
 public:
  OpenClipboardScope() : open_(WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 1000, 10)) {}
  ~OpenClipboardScope() {
    if (open_) CloseClipboard();
  }
  OpenClipboardScope(const OpenClipboardScope&) = delete;
  OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
  bool Open() const { return open_; }

 private:
  bool open_;
};

}  // namespace

bool SetClipboardText(std::string_view utf8) {
  const std::wstring text = Utf8ToWide(utf8);
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (memory == nullptr) return false;
  void* target = GlobalLock(memory);
  if (target == nullptr) {
    GlobalFree(memory);
    return false;
  }
  std::memcpy(target, text.c_str(), bytes);
  GlobalUnlock(memory);

  OpenClipboardScope clipboard;
  if (!clipboard.Open() || !EmptyClipboard() || SetClipboardData(CF_UNICODETEXT, memory) == nullptr) {
    GlobalFree(memory);  // still ours: the clipboard did not take it
    return false;
  }
  return true;
}

std::optional<std::string> ClipboardText() {
  OpenClipboardScope clipboard;
  if (!clipboard.Open()) return std::nullopt;
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (data == nullptr) return std::nullopt;
  const auto* text = static_cast<const wchar_t*>(GlobalLock(data));
  if (text == nullptr) return std::nullopt;
  std::string utf8 = WideToUtf8(text);
  GlobalUnlock(data);
  return utf8;
}

std::optional<std::string> ClipboardTextAfter(unsigned long sequence, int timeout_ms) {
  if (!WaitUntil([&] { return GetClipboardSequenceNumber() != sequence; }, timeout_ms)) return std::nullopt;
  return ClipboardText();
}

}  // namespace tovan::e2e
