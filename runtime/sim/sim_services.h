// Simulated clipboard, files, hotkeys, keys and shell. Each records what the
// program asked of it in the action log.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <functional>
#include <set>
#include <string>
#include <utility>

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
#include "runtime/sim/action_log.h"
#include "runtime/sim/virtual_clock.h"
#include "runtime/text.h"
#include "runtime/ui.h"

namespace tovan::rt::sim {

class SimTarget;

// The user's mouse and keyboard as the hooks see them: a test sends the
// events, and the listeners hear of them on the window's job queue, as the
// real hooks hand them over: at once, unless a job heard before is still
// under way.
template <class Hook, class Event>
class SimHook : public Hook {
 public:
  explicit SimHook(Ui& ui) : ui_(ui) {}
  bool Install(std::string_view owner, typename Hook::Handler handler) override {
    handlers_[std::string(owner)] = std::move(handler);
    return true;
  }
  void Remove(std::string_view owner) override {
    if (auto it = handlers_.find(owner); it != handlers_.end()) handlers_.erase(it);
  }
  bool Installed(std::string_view owner) const override { return handlers_.find(owner) != handlers_.end(); }

 protected:
  Ui& Window() const { return ui_; }
  void Deliver(const Event& event) {
    ui_.RunSoon([this, event] {
      const auto listeners = handlers_;  // a handler may remove itself
      for (const auto& [owner, handler] : listeners) handler(event);
    });
    ui_.PumpEvents();
  }

 private:
  Ui& ui_;
  std::map<std::string, typename Hook::Handler, std::less<>> handlers_;
};

class SimMouseHook : public SimHook<MouseHook, MouseEvent> {
 public:
  SimMouseHook(Ui& ui, const Clock& clock) : SimHook(ui), clock_(clock) {}
  void Send(int message, Point screen, bool ours = false) {
    if (message == kLeftButtonUp) last_left_release_ = clock_.NowMicros();
    Deliver(MouseEvent{.message = message, .screen = screen, .ours = ours,
                       .window = message == kRightButtonUp || message == kLeftButtonUp ||
                                         message == kMiddleButtonUp || message == kMiddleButtonDown
                                     ? Window().WindowUnderCursor()
                                     : 0,
                       .micros = clock_.NowMicros()});
  }
  std::int64_t LastLeftReleaseMicros() const override { return last_left_release_; }

 private:
  const Clock& clock_;
  std::int64_t last_left_release_ = 0;
};

class SimKeyboardHook : public SimHook<KeyboardHook, KeyEvent> {
 public:
  using SimHook::SimHook;
  void Send(int virtual_key, int message, bool ours = false) {
    Deliver(KeyEvent{.virtual_key = virtual_key, .message = message, .ours = ours});
  }
};

// Injected input, logged: "65 down", "65 up ext", "left down", cursor "x,y".
class SimInjector : public InputInjector {
 public:
  SimInjector(VirtualClock& clock, ActionLog& log) : clock_(clock), log_(log) {}
  void Key(int virtual_key, bool release, bool extended) override;
  void MouseButton(int flag) override;
  void SetCursor(Point screen) override;
  Point Cursor() const override { return cursor_; }
  Point ClientOrigin(std::uintptr_t window) const override;
  int DoubleClickMillis() const override { return 500; }
  // Where a window's client area starts on the screen.
  void SetClientOrigin(std::uintptr_t window, Point origin) { origins_[window] = origin; }
  void SetForeground(std::uintptr_t window) { foreground_ = window; }
  // The system answering an injected button ("left down"), as the window
  // under the cursor would (a press on a title bar starts a modal loop).
  void OnButton(std::function<void(const std::string&)> answer) { answer_ = std::move(answer); }

 private:
  VirtualClock& clock_;
  ActionLog& log_;
  std::function<void(const std::string&)> answer_;
  Point cursor_;
  std::map<std::uintptr_t, Point> origins_;
  std::uintptr_t foreground_ = 0;
};

class SimClipboard : public Clipboard {
 public:
  SimClipboard(VirtualClock& clock, ActionLog& log) : clock_(clock), log_(log) {}
  bool SetText(std::string_view text) override;
  std::string Text() override { return text_; }
  bool SetPicture(std::string_view image_bytes) override;
  void BeforePaste(std::uint32_t) override {
    reading_ = true;
    handed_out_ = false;
  }
  void AfterPaste() override { reading_ = false; }
  bool WaitUntilTaken(int max_ms) override;
  bool ReaderLetGo() const override { return !unread_; }
  bool Withdraw() override;
  bool HandedOut() const override { return handed_out_; }
  bool HeldByOther() const override { return held_; }
  std::uint64_t Sequence() const override { return sequence_; }
  // Another program holds the clipboard: writes fail, and so does a paste's
  // read, until it lets go.
  void SetHeldByOther(bool held) { held_ = held; }
  // The program in front pastes: the text, "<picture>" for a picture, or
  // nothing when the clipboard is held by another program.
  std::optional<std::string> ReadForPaste();
  // Another program (a clipboard manager) reads what is there.
  std::optional<std::string> ReadByOther();
  // Called after every write that changed the clipboard, as another
  // program's clipboard listener is told.
  void OnChange(std::function<void()> listener) { on_change_ = std::move(listener); }

 private:
  std::optional<std::string> Content() const;

  VirtualClock& clock_;
  ActionLog& log_;
  std::string text_;
  bool picture_ = false;
  bool held_ = false;
  bool unread_ = false;      // written, and not yet read by a paste
  bool reading_ = false;     // a paste's read is awaited
  bool handed_out_ = false;  // given to another program while it was
  std::uint64_t sequence_ = 0;
  std::function<void()> on_change_;
};

// Files under a temporary folder. Windows paths map into it: "C:\a\b.txt"
// is <root>/C/a/b.txt. The run directory is "C:\Tovan".
class SimFiles : public Files {
 public:
  SimFiles(VirtualClock& clock, ActionLog& log);
  ~SimFiles() override;
  std::string RunDirectory() const override { return "C:\\Tovan"; }
  std::string Read(std::string_view path) const override;
  std::uint64_t SizeOf(std::string_view path) const override;
  std::string ReadPiece(std::string_view path, std::uint64_t offset, std::size_t size) const override;
  bool Exists(std::string_view path) const override;
  bool MakeDirectory(std::string_view path) override;
  bool InTemporaryFolder(std::string_view folder) const override;
  bool CanWriteIn(std::string_view folder) override { return refused_.count(HostPath(folder)) == 0; }
  // The user's temporary folder ("C:\\Temp" unless set).
  void SetTemporaryFolder(std::string_view folder) { temporary_ = folder; }
  // Where a program path lives on the Linux side.
  std::filesystem::path HostPath(std::string_view path) const;
  // The disk or another program refuses this path from now on, for the
  // reason given: creating it and renaming it or onto it fail (a file held
  // open elsewhere, a read-only folder, a full disk). Allow ends it.
  void Refuse(std::string_view path, WriteFailure why = WriteFailure::kInUse) { refused_[HostPath(path)] = why; }
  void Allow(std::string_view path) { refused_.erase(HostPath(path)); }
  // Attribute bits as the user sets them in Explorer (0 for none).
  void SetAttributes(std::string_view path, unsigned bits) { attributes_[HostPath(path)] = bits; }
  unsigned Attributes(std::string_view path) const;

 protected:
  WriteResult WriteNew(std::string_view path, std::string_view bytes) override;
  void KeepAttributes(std::string_view original, std::string_view replacement) override;
  WriteResult Rename(std::string_view from, std::string_view to) override;
  bool Remove(std::string_view path) override;

 private:
  VirtualClock& clock_;
  ActionLog& log_;
  std::filesystem::path root_;
  std::map<std::filesystem::path, WriteFailure> refused_;
  std::string temporary_ = "C:\\Temp";
  std::map<std::filesystem::path, unsigned> attributes_;
};

class SimHotkeys : public Hotkeys {
 public:
  SimHotkeys(Ui& ui, VirtualClock& clock, ActionLog& log) : ui_(ui), clock_(clock), log_(log) {}
  int Register(std::string_view receiver, int modifiers, int virtual_key) override;
  void Unregister(int id) override;
  bool RegisterForWindow(std::uintptr_t window, int id, int system_modifiers, int virtual_key) override;
  bool UnregisterForWindow(std::uintptr_t window, int id) override;
  void ForwardHotkeysOf(std::uintptr_t window, bool on) override;
  // The windows whose hotkeys are forwarded now.
  const std::set<std::uintptr_t>& Forwarded() const { return forwarded_; }

  // The user presses a key combination anywhere in the system.
  void Press(int modifiers, int virtual_key);
  // Another program holds this combination: registering it fails.
  void TakenByOther(int modifiers, int virtual_key) { taken_.insert({modifiers, virtual_key}); }
  bool IsRegistered(int modifiers, int virtual_key) const;
  std::size_t Count() const { return registered_.size(); }

 private:
  struct Entry {
    std::string receiver;
    int modifiers;
    int virtual_key;
  };
  Ui& ui_;
  VirtualClock& clock_;
  ActionLog& log_;
  std::map<int, Entry> registered_;
  std::set<std::pair<int, int>> taken_;
  std::set<std::pair<std::uintptr_t, int>> window_hotkeys_;  // (window, id)
  std::set<std::uintptr_t> forwarded_;
};

class SimKeys : public Keys {
 public:
  SimKeys(VirtualClock& clock, ActionLog& log) : clock_(clock), log_(log) {}
  void Chord(std::initializer_list<int> virtual_keys) override;
  void Type(std::string_view text) override;
  void Press(const std::vector<Stroke>& strokes) override;
  // How strokes read in the log: "a", "Shift+1", "{9}", "Ctrl+Alt+{112}x3".
  static std::string StrokeNames(const std::vector<Stroke>& strokes);
  bool IsDown(int virtual_key) const override { return held_.count(virtual_key) != 0; }
  bool IsHeld(int virtual_key) const override { return held_.count(virtual_key) != 0; }
  void Hold(int virtual_key, bool down) { down ? void(held_.insert(virtual_key)) : void(held_.erase(virtual_key)); }
  // The program with the focus answering a chord (Ctrl+C copying its
  // selection), given the chord's name.
  void OnChord(std::function<void(const std::string&)> answer) { answer_ = std::move(answer); }
  // The program in front, which takes the keys sent.
  void SetTarget(SimTarget* target) { target_ = target; }

  // "Ctrl+V", "Tab", "Ctrl+Shift+Alt+F5": how a chord reads in the log.
  static std::string ChordName(std::initializer_list<int> virtual_keys);

 private:
  VirtualClock& clock_;
  ActionLog& log_;
  std::set<int> held_;
  std::function<void(const std::string&)> answer_;
  SimTarget* target_ = nullptr;
};

class SimMessages : public Messages {
  std::set<std::uintptr_t> unicode_;
  bool western_ = false;

 public:
  SimMessages(VirtualClock& clock, ActionLog& log) : clock_(clock), log_(log) {}
  void Post(std::uintptr_t window, unsigned message, std::uintptr_t wparam, std::intptr_t lparam) override;
  // Logged with "W " in front.
  void PostUnicode(std::uintptr_t window, unsigned message, std::uintptr_t wparam, std::intptr_t lparam) override;
  bool IsUnicodeWindow(std::uintptr_t window) const override { return unicode_.count(window) != 0; }
  void MakeUnicode(std::uintptr_t window) { unicode_.insert(window); }
  // GBK, as on a Chinese system; on a Western one (code page 1252, here
  // its Latin-1 part) the characters past it become "?".
  std::string AnsiBytes(std::string_view utf8) const override;
  void SetWesternSystem(bool western) { western_ = western; }
  // The program in front, which takes the characters posted.
  void SetTarget(SimTarget* target) { target_ = target; }

 private:
  VirtualClock& clock_;
  ActionLog& log_;
  SimTarget* target_ = nullptr;
};

class SimShellOpen : public ShellOpen {
 public:
  SimShellOpen(VirtualClock& clock, ActionLog& log) : clock_(clock), log_(log) {}
  void Open(std::string_view target) override { log_.Add(clock_.NowMicros(), Action::kShellOpen, std::string(target)); }

 private:
  VirtualClock& clock_;
  ActionLog& log_;
};

// Jobs run at once on the virtual clock; the events due meanwhile (set for
// the job's virtual duration, 0 by default) run before Run returns, as they
// would while a real job is under way.
class SimWorker : public Worker {
 public:
  explicit SimWorker(VirtualClock& clock) : clock_(clock) {}
  void RunTogether(std::initializer_list<std::function<void()>> jobs) override {
    for (const auto& job : jobs) {
      ++jobs_;
      job();
    }
    clock_.Wait(job_millis_);
  }
  void SetJobMillis(int ms) { job_millis_ = ms; }
  int Jobs() const { return jobs_; }

 private:
  VirtualClock& clock_;
  int job_millis_ = 0;
  int jobs_ = 0;
};

class SimSystem : public System {
 public:
  SimSystem(VirtualClock& clock, ActionLog& log) : clock_(clock), log_(log) {}
  bool ClaimInstance(std::string_view name) override { return claimed_.insert(std::string(name)).second; }
  void TrimWorkingSet() override { log_.Add(clock_.NowMicros(), Action::kTrimWorkingSet, ""); }
  void PlayWave(std::string_view wave) override { log_.Add(clock_.NowMicros(), Action::kSound, ToText(static_cast<std::int64_t>(wave.size()))); }
  // Another instance of the program is already running and holds the marker.
  void HeldByOtherInstance(std::string_view name) { claimed_.insert(std::string(name)); }

 private:
  VirtualClock& clock_;
  ActionLog& log_;
  std::set<std::string, std::less<>> claimed_;
};

}  // namespace tovan::rt::sim
