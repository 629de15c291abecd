// The Win32 clipboard, files, hotkeys, keys, mouse hook and shell.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <set>
#include <string>

#include "runtime/clipboard.h"
#include "runtime/files.h"
#include "runtime/hotkeys.h"
#include "runtime/keys.h"
#include "runtime/messages.h"
#include "runtime/input_hooks.h"
#include "runtime/input_injector.h"
#include "runtime/shell_open.h"
#include "runtime/system.h"
#include "runtime/worker.h"
#include "runtime/win32/handles.h"
#include "runtime/win32/picture.h"
#include "runtime/win32/win32_ui.h"

namespace tovan::rt::win32 {

// Text and pictures are written with delayed rendering: the clipboard holds
// only the promise of their formats until a program reads them, and that
// read is how the tool learns that a paste has taken what it was given.
class Win32Clipboard : public Clipboard {
 public:
  explicit Win32Clipboard(Win32Ui& ui);
  ~Win32Clipboard() override;
  bool SetText(std::string_view text) override;
  std::string Text() override;
  bool SetPicture(std::string_view image_bytes) override;
  bool WaitUntilTaken(int max_ms) override;
  bool ReaderLetGo() const override { return reader_let_go_; }
  void BeforePaste(std::uint32_t target_process) override;
  void AfterPaste() override { stage_ = Stage::kAfterPaste; }
  bool Withdraw() override;
  bool HandedOut() const override { return handed_out_; }
  bool HeldByOther() const override;
  std::uint64_t Sequence() const override { return GetClipboardSequenceNumber(); }

 private:
  // What was last written, while it is on the clipboard.
  struct Content {
    std::wstring text;
    std::optional<Picture> picture;
    bool empty() const { return text.empty() && !picture; }
  };
  // WM_RENDERFORMAT, WM_RENDERALLFORMATS and WM_DESTROYCLIPBOARD.
  void OwnerMessage(UINT message, WPARAM format);
  // Hands one promised format to the open clipboard.
  void Render(UINT format);
  // Puts the content on the emptied, open clipboard as promises, to be
  // rendered when a program reads them.
  bool Promise(Content content);
  // Writes new content: empties the clipboard and promises it.
  bool Write(Content content);
  // After a clipboard manager has read the content (written as `written`),
  // puts it on the clipboard as a promise again.
  void PromiseAgain(std::uint64_t written);

  Win32Ui& ui_;
  Content content_;
  std::set<UINT> unrendered_;  // formats of the content still only promised
  bool unread_ = false;        // not yet read by the program pasting
  // Where the content last written stands: waiting for its paste, the paste
  // pressed and its read awaited, or pasted (read or not).
  enum class Stage { kBeforePaste, kPasteReading, kAfterPaste };
  Stage stage_ = Stage::kBeforePaste;
  std::set<DWORD> paste_targets_;  // the processes told to paste; none: any reader counts
  std::uint64_t written_ = 0;      // counts the contents written
  std::set<DWORD> early_readers_;  // read the content before the paste (0: a reader without a window)
  ULONGLONG promised_at_ = 0;      // when the content was last promised
  bool reader_let_go_ = false;     // the read that counted is over: the clipboard could be opened since
  bool handed_out_ = false;        // given, while the paste's read was awaited, to a reader that did not count
};

class Win32Files : public Files {
 public:
  Win32Files();
  std::string RunDirectory() const override { return run_directory_; }
  std::string Read(std::string_view path) const override;
  std::uint64_t SizeOf(std::string_view path) const override;
  std::string ReadPiece(std::string_view path, std::uint64_t offset, std::size_t size) const override;
  std::unique_ptr<Pieces> OpenPieces(std::string_view path) const override;
  bool Exists(std::string_view path) const override;
  bool MakeDirectory(std::string_view path) override;
  bool InTemporaryFolder(std::string_view folder) const override;
  bool CanWriteIn(std::string_view folder) override;

 protected:
  WriteResult WriteNew(std::string_view path, std::string_view bytes) override;
  void KeepAttributes(std::string_view original, std::string_view replacement) override;
  WriteResult Rename(std::string_view from, std::string_view to) override;
  bool Remove(std::string_view path) override;

 private:
  std::string run_directory_;
};

class Win32Hotkeys : public Hotkeys {
 public:
  explicit Win32Hotkeys(Win32Ui& ui) : ui_(ui) {}
  int Register(std::string_view receiver, int modifiers, int virtual_key) override;
  void Unregister(int id) override;
  bool RegisterForWindow(std::uintptr_t window, int id, int system_modifiers, int virtual_key) override {
    return RegisterHotKey(reinterpret_cast<HWND>(window), id, static_cast<UINT>(system_modifiers),
                          static_cast<UINT>(virtual_key)) != FALSE;
  }
  bool UnregisterForWindow(std::uintptr_t window, int id) override {
    return UnregisterHotKey(reinterpret_cast<HWND>(window), id) != FALSE;
  }
  void ForwardHotkeysOf(std::uintptr_t window, bool on) override;

 private:
  Win32Ui& ui_;
  std::map<int, bool> used_;
};

class Win32Keys : public Keys {
 public:
  void Chord(std::initializer_list<int> virtual_keys) override;
  void Type(std::string_view text) override;
  void Press(const std::vector<Stroke>& strokes) override;
  bool IsDown(int virtual_key) const override { return GetKeyState(virtual_key) < 0; }
  bool IsHeld(int virtual_key) const override { return GetAsyncKeyState(virtual_key) < 0; }
};

class Win32Messages : public Messages {
 public:
  void Post(std::uintptr_t window, unsigned message, std::uintptr_t wparam, std::intptr_t lparam) override {
    PostMessageA(reinterpret_cast<HWND>(window), message, wparam, lparam);
  }
  void PostUnicode(std::uintptr_t window, unsigned message, std::uintptr_t wparam, std::intptr_t lparam) override {
    PostMessageW(reinterpret_cast<HWND>(window), message, wparam, lparam);
  }
  bool IsUnicodeWindow(std::uintptr_t window) const override {
    return IsWindowUnicode(reinterpret_cast<HWND>(window)) != FALSE;
  }
  std::string AnsiBytes(std::string_view utf8) const override;
};

class Win32ShellOpen : public ShellOpen {
 public:
  void Open(std::string_view target) override;
};

// The longest time a hook procedure took on one event, in microseconds.
std::int64_t LongestHookCallMicros();

// One low-level hook (mouse or keyboard) and its listeners, by owner. The
// procedure notes the event and queues its delivery to the window thread.
template <class Base, class Event, int kHookType>
class Win32Hook : public Base {
 public:
  explicit Win32Hook(Win32Ui& ui) : ui_(ui) {}
  ~Win32Hook() override;
  bool Install(std::string_view owner, typename Base::Handler handler) override;
  void Remove(std::string_view owner) override;
  bool Installed(std::string_view owner) const override { return handlers_.find(owner) != handlers_.end(); }

 private:
  static LRESULT CALLBACK Procedure(int code, WPARAM message, LPARAM data);
  void Deliver(const Event& event);

  static inline Win32Hook* installed_ = nullptr;  // the procedure's object (one window thread)
  Win32Ui& ui_;
  std::map<std::string, typename Base::Handler, std::less<>> handlers_;
  HHOOK hook_ = nullptr;
};

class Win32MouseHook : public Win32Hook<MouseHook, MouseEvent, WH_MOUSE_LL> {
 public:
  using Win32Hook::Win32Hook;
  std::int64_t LastLeftReleaseMicros() const override;
};
using Win32KeyboardHook = Win32Hook<KeyboardHook, KeyEvent, WH_KEYBOARD_LL>;

class Win32Injector : public InputInjector {
 public:
  void Key(int virtual_key, bool release, bool extended) override;
  void MouseButton(int flag) override;
  void SetCursor(Point screen) override { SetCursorPos(screen.x, screen.y); }
  Point Cursor() const override;
  Point ClientOrigin(std::uintptr_t window) const override;
  int DoubleClickMillis() const override { return static_cast<int>(GetDoubleClickTime()); }
};

class Win32Worker : public Worker {
 public:
  explicit Win32Worker(Win32Ui& ui) : ui_(ui) {}
  void RunTogether(std::initializer_list<std::function<void()>> jobs) override;

 private:
  Win32Ui& ui_;
};

class Win32System : public System {
 public:
  bool ClaimInstance(std::string_view name) override;
  void TrimWorkingSet() override;
  void PlayWave(std::string_view wave) override;

 private:
  KernelHandle marker_;  // held until the process ends
};

}  // namespace tovan::rt::win32
