#include <windows.h>

#include <algorithm>
#include <cstring>

#include "runtime/win32/handles.h"
#include "runtime/win32/picture.h"
#include "runtime/win32/wide.h"
#include "runtime/win32/win32_services.h"

namespace tovan::rt::win32 {
namespace {

constexpr ULONGLONG kOpenMillis = 1000;
constexpr int kYields = 200;

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

// Waits up to `ms` (0: only gives way to other threads) while serving the
// messages other programs send this thread, and nothing else: the program
// holding the clipboard may be waiting for the text this window promised
// (WM_RENDERFORMAT is a sent message), and would hold it until it gets it.
// Posted messages and input stay queued, so no event of the window runs.
void ServeSentMessagesFor(DWORD ms) {
  MSG message;
  if (ms == 0)
    SwitchToThread();
  else
    MsgWaitForMultipleObjectsEx(0, nullptr, ms, QS_SENDMESSAGE, 0);
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

// The process of the program that has the clipboard open (0 when it opened
// it without a window of its own).
DWORD ReaderProcess() {
  HWND reader = GetOpenClipboardWindow();
  DWORD process = 0;
  if (reader) GetWindowThreadProcessId(reader, &process);
  return process;
}

}  // namespace

ClipboardSession::ClipboardSession(HWND owner) {
  // Another program reading what was just pasted holds the clipboard for
  // well under a millisecond: at first only give way to it, then try less
  // often, for about a second in all.
  const ULONGLONG start = GetTickCount64();
  for (int attempt = 0;; ++attempt) {
    if (OpenClipboard(owner)) {
      open_ = true;
      return;
    }
    const ULONGLONG waited = GetTickCount64() - start;
    if (waited >= kOpenMillis) return;
    ServeSentMessagesFor(attempt < kYields ? 0 : waited < 50 ? 1 : 10);
  }
}

Win32Clipboard::Win32Clipboard(Win32Ui& ui) : ui_(ui) {
  ui_.SetClipboardOwner([this](UINT message, WPARAM format) { OwnerMessage(message, format); });
}

Win32Clipboard::~Win32Clipboard() { ui_.SetClipboardOwner(nullptr); }

bool Win32Clipboard::SetText(std::string_view text) {
  ClipboardSession session(ui_.MainWindow());
  // Emptying tells the previous owner (this window too) its content is gone.
  if (!session.open() || !EmptyClipboard()) return false;
  if (text.empty()) return true;
  promised_ = Wide(text);
  ++text_;
  stage_ = Stage::kBeforePaste;
  paste_targets_.clear();
  promised_again_ = false;
  early_readers_.clear();
  return Promise();
}

bool Win32Clipboard::Promise() {
  rendered_ = false;
  unread_ = true;
  SetClipboardData(CF_UNICODETEXT, nullptr);  // rendered when read
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT)) {
    promised_.clear();
    unread_ = false;
    return false;
  }
  MarkPrivate();
  return true;
}

void Win32Clipboard::BeforePaste(std::uint32_t target_process) {
  stage_ = Stage::kPasteReading;
  paste_targets_.clear();
  if (target_process) paste_targets_.insert(target_process);
  // The program in front may read through another process of its own (the
  // one that owns its keyboard focus).
  DWORD thread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  DWORD focus = 0;
  if (thread && GetGUIThreadInfo(thread, &info) && info.hwndFocus) GetWindowThreadProcessId(info.hwndFocus, &focus);
  if (target_process && focus) paste_targets_.insert(focus);
}

bool Win32Clipboard::Unasked() const {
  return stage_ == Stage::kPasteReading && unread_ && !rendered_ && !promised_.empty() &&
         GetClipboardOwner() == ui_.MainWindow();
}

bool Win32Clipboard::HeldByOther() const {
  HWND holder = GetOpenClipboardWindow();
  return holder && holder != ui_.MainWindow();
}

void Win32Clipboard::PromiseAgain(std::uint64_t text) {
  // Only while the same text waits for its paste: once the paste is
  // pressed, a new promise would meet the pasting program's read.
  if (text != text_ || stage_ != Stage::kBeforePaste || promised_.empty() || GetClipboardOwner() != ui_.MainWindow())
    return;
  ClipboardSession session(ui_.MainWindow());
  if (!session.open()) return;
  const std::wstring promised = promised_;
  if (!EmptyClipboard()) return;  // tells this window the old promise is gone
  promised_ = promised;
  Promise();
}

void Win32Clipboard::Render() {
  GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, (promised_.size() + 1) * sizeof(wchar_t)));
  if (!memory) return;
  {
    GlobalLockGuard<wchar_t> lock(memory.get());
    if (!lock.get()) return;
    std::memcpy(lock.get(), promised_.c_str(), (promised_.size() + 1) * sizeof(wchar_t));
  }
  if (SetClipboardData(CF_UNICODETEXT, memory.get())) memory.release();  // the clipboard owns it now
}

void Win32Clipboard::OwnerMessage(UINT message, WPARAM format) {
  switch (message) {
    case WM_RENDERFORMAT: {
      // A program is reading the text: the clipboard is open for it.
      // - Before the paste is pressed, whoever reads is a clipboard manager
      //   (or a remote clipboard bridge): it gets the text, which is then
      //   promised once more, and a program that has it already is not given
      //   it again (the program in front always is).
      // - While the paste's read is awaited, only the program told to paste
      //   is given it, and its read is the one that counts: a manager's read
      //   cannot hide it, and a paste that read nothing can be told and
      //   pressed again. A reader without a window of its own cannot be told
      //   apart: it gets the text, and its read does not count.
      // - Afterwards, anyone gets it.
      if (format != CF_UNICODETEXT || promised_.empty()) return;
      const DWORD reader = ReaderProcess();
      switch (stage_) {
        case Stage::kBeforePaste:
          if (reader != 0 && early_readers_.count(reader) && reader != ui_.ForegroundProcess()) return;
          early_readers_.insert(reader);
          if (!promised_again_) {
            // Once per text: a promise made again later could meet the
            // paste's own read.
            promised_again_ = true;
            ui_.RunLater(0, [this, text = text_] { PromiseAgain(text); });
          }
          break;
        case Stage::kPasteReading:
          if (paste_targets_.empty() || (reader != 0 && paste_targets_.count(reader)))
            unread_ = false;
          else if (reader != 0)
            return;
          break;
        case Stage::kAfterPaste: break;
      }
      Render();
      rendered_ = true;
      return;
    }
    case WM_RENDERALLFORMATS: {
      // The window is going away: the text stays on the clipboard for good.
      ClipboardSession session(ui_.MainWindow());
      if (session.open() && GetClipboardOwner() == ui_.MainWindow() && !promised_.empty() && !rendered_) Render();
      unread_ = false;
      return;
    }
    case WM_DESTROYCLIPBOARD:
      // Emptied by whoever writes next: nothing of ours is left to read.
      unread_ = false;
      rendered_ = false;
      promised_.clear();
      return;
    default: return;
  }
}

bool Win32Clipboard::WaitUntilTaken(int max_ms) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(std::max(0, max_ms));
  // A reading program sends WM_RENDERFORMAT: the sent message ends the
  // wait and the pump hands it over.
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    if (!unread_ || ui_.Destroyed() || now >= deadline) break;
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(deadline - now), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    ui_.PumpEvents();
  }
  return !unread_;
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
