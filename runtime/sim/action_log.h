// What the program did to the outside world, stamped with virtual time, so
// that a test can read the program's behaviour as a timed story.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tovan::rt::sim {

enum class Action {
  kClipboardText,       // detail: the text ("" cleared it)
  kClipboardPicture,    // detail: the number of image bytes
  kClipboardWithdrawn,  // a paste's content taken back unread
  kPosted,              // detail: "<window> <message> <wparam> <lparam>"
  kStrokes,             // detail: the strokes, e.g. "Ctrl+(a) {9} 张"
  kChord,               // detail: the keys, e.g. "Ctrl+V"
  kTypeText,            // detail: the text typed
  kHotkeyRegistered,    // detail: "<id> <modifiers> <vk>"
  kHotkeyUnregistered,  // detail: "<id>"
  kShellOpen,           // detail: the target
  kBalloon,             // detail: "<x>,<y> <text>"
  kQuestion,            // detail: "<title>|<text>"
  kMessage,             // a message box with OK only; detail: "<title>|<text>"
  kFileWritten,         // detail: the path
  kTrayIcon,            // detail: "add <tip>" or "remove"
  kWindowDestroyed,
  kTrimWorkingSet,
  kSound,               // detail: the number of bytes of the sound
  kInjectedKey,         // detail: "<vk> down" or "<vk> up", with " ext" for an extended key
  kInjectedMouse,       // detail: "left down", "right up", …
  kCursorMoved,         // detail: "<x>,<y>"
  kTopmost,             // detail: "<window> on" or "<window> off"
  kAutomation,          // detail: the call, e.g. "Excel.Application.Range(\"A1\").PasteSpecial()"
};

struct LoggedAction {
  std::int64_t micros = 0;
  Action action = Action::kChord;
  std::string detail;
  std::int64_t Millis() const { return micros / 1000; }
};

class ActionLog {
 public:
  void Add(std::int64_t micros, Action action, std::string detail) {
    entries_.push_back({micros, action, std::move(detail)});
  }
  const std::vector<LoggedAction>& Entries() const { return entries_; }
  std::vector<LoggedAction> Of(Action action) const {
    std::vector<LoggedAction> out;
    for (const LoggedAction& e : entries_)
      if (e.action == action) out.push_back(e);
    return out;
  }
  void Clear() { entries_.clear(); }

 private:
  std::vector<LoggedAction> entries_;
};

}  // namespace tovan::rt::sim
