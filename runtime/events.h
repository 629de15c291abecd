// Events raised on window units, and the handlers the application binds to them.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tovan::rt {

enum class EventKind {
  kCreated,        // window: built and shown
  kClosing,        // window: about to close
  kDestroyed,      // window: gone
  kSizeChanged,    // window: size or state changed (minimised: code = 1)
  kTray,           // window: tray icon action (code)
  kClicked,
  kDoubleClicked,  // point = mouse position in the unit
  kMouseDown,      // left button pressed; point = mouse position in the unit
  kKeyDown,        // code = virtual key, modifiers = Ctrl 1 + Shift 2 + Alt 4 held before this key
  kKeyUp,
  kGotFocus,
  kLostFocus,
  kSelectionChanged,
  kHeaderClicked,  // super list: code = column
  kItemNotify,     // super list: selection notification (code 0 or 4)
  kCheckChanged,   // super list: row, state (1 checked, 0 not), modifiers held by the click
  kTick,           // timer
  kDropped,        // drop target: files
  kHotkey,         // hotkey receiver: code = hotkey identifier
};

struct Event {
  EventKind kind = EventKind::kClicked;
  int code = 0;
  int row = -1;
  int state = 0;
  int modifiers = 0;
  int x = 0;
  int y = 0;
  std::vector<std::string> files;
};

using Handler = std::function<void(const Event&)>;

}  // namespace tovan::rt
