// HOOK类: one process-wide keyboard hook and one mouse hook, each fanning
// every event out to its list of callbacks, the last added first. A
// callback that returns nonzero ends the walk: the callbacks added before
// it do not hear that event. The event itself always goes on to its target
// and to other programs' hooks, and the callbacks run on the window thread
// right after the hook has passed it on. Input the program injects itself
// never reaches the callbacks.
//
// Its hotkey registry keeps a table of its own registrations: ids run 1,
// 2, 3 … and are never reused; registering a combination again withdraws
// the earlier record (key −1) first. The first registration makes the
// window's hotkey presses arrive as message 0x8075; unregistering id 0
// undoes everything.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "runtime/platform.h"

namespace tovan::recorder {

class HOOK类 {
 public:
  using KeyboardCallback = std::function<int(const rt::KeyEvent&)>;
  using MouseCallback = std::function<int(const rt::MouseEvent&)>;

  explicit HOOK类(rt::Platform platform) : p_(platform) {}
  ~HOOK类();
  HOOK类(const HOOK类&) = delete;
  HOOK类& operator=(const HOOK类&) = delete;

  // Adds a callback (by name) and installs the hook if needed: 1, or 0 when
  // the callback was already in the list.
  int AddKeyboardCallback(std::string_view name, KeyboardCallback callback);
  int AddMouseCallback(std::string_view name, MouseCallback callback);
  // Removes the hook and forgets every callback.
  void RemoveKeyboardHook();
  void RemoveMouseHook();

  struct HotkeyRecord {
    std::uintptr_t window = 0;
    int modifiers = 0;    // the system's modifier bits
    int virtual_key = 0;  // −1: withdrawn
    int id = 0;
    int spare = 0;
  };
  // The new id, or 0 when the system refused (the counter then stays).
  int RegisterHotkey(std::uintptr_t window, int virtual_key, int modifiers);
  // Id 0: every record, and the forwarding ends; 1 on success, else 0.
  int UnregisterHotkey(int id);
  const std::vector<HotkeyRecord>& HotkeyTable() const { return hotkeys_; }

 private:
  template <class Callback, class Event>
  static void Walk(const std::vector<std::pair<std::string, Callback>>& callbacks, const Event& event);

  rt::Platform p_;
  std::vector<std::pair<std::string, KeyboardCallback>> keyboard_;
  std::vector<std::pair<std::string, MouseCallback>> mouse_;
  std::vector<HotkeyRecord> hotkeys_;
  int last_id_ = 0;
  std::uintptr_t forwarded_window_ = 0;
};

}  // namespace tovan::recorder
