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
// How long a change just made is let settle before a paste.
constexpr ULONGLONG kSettleMs = 16;
// How long the program that read may keep the clipboard open afterwards.
constexpr ULONGLONG kReaderLetGoMs = 1000;

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

// The formats a content is promised in.
std::set<UINT> FormatsOf(const auto& content) {
  return content.picture ? std::set<UINT>{CF_BITMAP, CF_DIB} : std::set<UINT>{CF_UNICODETEXT};
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

bool Win32Clipboard::SetText(std::string_view text) { return Write(Content{Wide(text), std::nullopt}); }

bool Win32Clipboard::SetPicture(std::string_view image_bytes) {
  std::optional<Picture> picture = DecodePicture(image_bytes);
  if (!picture) return false;
  return Write(Content{L"", std::move(picture)});
}

bool Win32Clipboard::Write(Content content) {
  ClipboardSession session(ui_.MainWindow());
  // Emptying tells the previous owner (this window too) its content is gone.
  if (!session.open() || !EmptyClipboard()) return false;
  if (content.empty()) return true;
  ++written_;
  stage_ = Stage::kBeforePaste;
  paste_targets_.clear();
  early_readers_.clear();
  return Promise(std::move(content));
}

bool Win32Clipboard::Promise(Content content) {
  content_ = std::move(content);
  unrendered_ = FormatsOf(content_);
  unread_ = true;
  promised_at_ = GetTickCount64();
  for (UINT format : unrendered_) SetClipboardData(format, nullptr);  // rendered when read
  if (!IsClipboardFormatAvailable(*unrendered_.begin())) {
    content_ = {};
    unrendered_.clear();
    unread_ = false;
    return false;
  }
  MarkPrivate();
  return true;
}

void Win32Clipboard::BeforePaste(std::uint32_t target_process) {
  stage_ = Stage::kPasteReading;
  handed_out_ = false;
  reader_let_go_ = false;
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
  // A program that read the content before (a clipboard tool new to it)
  // left it rendered on the clipboard, where the paste would read it
  // unseen: promised afresh, only the paste's read is handed it now.
  if (!content_.empty() && unrendered_ != FormatsOf(content_) && GetClipboardOwner() == ui_.MainWindow()) {
    ClipboardSession session(ui_.MainWindow());
    Content content = content_;
    if (session.open() && EmptyClipboard()) Promise(std::move(content));
  }
  // Clipboard tools read each change at once: a change just made is let
  // settle first, or their read would shut the clipboard to the paste's.
  const ULONGLONG since = GetTickCount64() - promised_at_;
  if (since < kSettleMs) ServeSentMessagesFor(static_cast<DWORD>(kSettleMs - since));
}

bool Win32Clipboard::Withdraw() {
  if (!unread_) return false;
  // Opening serves the messages other programs send: the read may come now.
  ClipboardSession session(ui_.MainWindow());
  if (!unread_) return false;
  if (GetClipboardOwner() != ui_.MainWindow()) return true;  // another program wrote since: nothing of ours is left
  if (!session.open() || !EmptyClipboard()) {
    handed_out_ = true;  // out of reach: a paste handled late may still read it
    return true;
  }
  return true;
}

bool Win32Clipboard::HeldByOther() const {
  HWND holder = GetOpenClipboardWindow();
  return holder && holder != ui_.MainWindow();
}

void Win32Clipboard::PromiseAgain(std::uint64_t written) {
  // Only while the same content waits for its paste: once the paste is
  // pressed, a new promise would meet the pasting program's read.
  if (written != written_ || stage_ != Stage::kBeforePaste || content_.empty() ||
      GetClipboardOwner() != ui_.MainWindow())
    return;
  ClipboardSession session(ui_.MainWindow());
  if (!session.open()) return;
  Content content = content_;
  if (!EmptyClipboard()) return;  // tells this window the old promise is gone
  Promise(std::move(content));
}

void Win32Clipboard::Render(UINT format) {
  if (!unrendered_.erase(format)) return;
  if (format == CF_BITMAP) {
    Bitmap bitmap(MakeBitmap(*content_.picture));
    if (bitmap && SetClipboardData(CF_BITMAP, bitmap.get())) bitmap.release();  // the clipboard owns it now
    return;
  }
  if (format == CF_DIB) {
    GlobalMemory dib(MakePackedDib(*content_.picture));
    if (dib && SetClipboardData(CF_DIB, dib.get())) dib.release();
    return;
  }
  const std::wstring& text = content_.text;
  GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t)));
  if (!memory) return;
  {
    GlobalLockGuard<wchar_t> lock(memory.get());
    if (!lock.get()) return;
    std::memcpy(lock.get(), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  }
  if (SetClipboardData(CF_UNICODETEXT, memory.get())) memory.release();
}

void Win32Clipboard::OwnerMessage(UINT message, WPARAM format) {
  switch (message) {
    case WM_RENDERFORMAT: {
      // A program is reading the content: the clipboard is open for it.
      // - Before the paste is pressed, whoever reads is a clipboard manager
      //   (or a remote clipboard bridge): it gets the content, which is then
      //   promised once more, and a program that has it already is not
      //   given it again (the program in front always is).
      // - While the paste's read is awaited, the program told to paste is
      //   given it, and its read is the one that counts: a manager's read
      //   cannot hide it. A reader without a window of its own (a paste
      //   through the system's object clipboard) counts too, unless such a
      //   reader had the content before; then it is given it, uncounted.
      // - Afterwards, anyone gets it.
      if (!unrendered_.count(static_cast<UINT>(format))) return;
      const DWORD reader = ReaderProcess();
      switch (stage_) {
        case Stage::kBeforePaste:
          if (reader != 0 && early_readers_.count(reader) && reader != ui_.ForegroundProcess()) return;
          // Promised again at once for each new reader, so that it is a
          // promise when the paste is pressed (a reader had it already is
          // not given it again, so this ends).
          if (early_readers_.insert(reader).second)
            ui_.RunLater(0, [this, written = written_] { PromiseAgain(written); });
          break;
        case Stage::kPasteReading:
          if (paste_targets_.empty() || (reader != 0 && paste_targets_.count(reader)) ||
              (reader == 0 && !early_readers_.count(0)))
            unread_ = false;
          else if (reader != 0)
            return;
          else
            handed_out_ = true;
          break;
        case Stage::kAfterPaste: break;
      }
      Render(static_cast<UINT>(format));
      return;
    }
    case WM_RENDERALLFORMATS: {
      // The window is going away: the content stays on the clipboard for good.
      ClipboardSession session(ui_.MainWindow());
      if (session.open() && GetClipboardOwner() == ui_.MainWindow())
        for (UINT left : std::set<UINT>(unrendered_)) Render(left);
      unread_ = false;
      return;
    }
    case WM_DESTROYCLIPBOARD:
      // Emptied by whoever writes next: nothing of ours is left to read.
      unread_ = false;
      unrendered_.clear();
      content_ = {};
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
  if (unread_) return false;
  // The program that read pastes what it got before it lets go of the
  // clipboard (and, while it waited for the text, it answered messages
  // sent to it: a field read then would show the field before the paste).
  // Meanwhile it may ask for further formats: they are handed over.
  const ULONGLONG until = GetTickCount64() + kReaderLetGoMs;
  while (stage_ == Stage::kPasteReading && !reader_let_go_ && !ui_.Destroyed()) {
    if (OpenClipboard(ui_.MainWindow())) {
      CloseClipboard();
      reader_let_go_ = true;
    } else if (GetTickCount64() >= until) {
      break;
    } else {
      MsgWaitForMultipleObjectsEx(0, nullptr, 1, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
      ui_.PumpEvents();
    }
  }
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
