// HOOK类: one process-wide keyboard hook and one mouse hook, each fanning
// every event out to its list of callbacks, the last added first. A
// callback that returns nonzero ends the walk: the callbacks added before
// it do not hear that event. The event itself always goes on to its target
// and to other programs' hooks, and the callbacks run on the window thread
// right after the hook has passed it on. Input the program injects itself
// never reaches the callbacks.
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

 private:
  template <class Callback, class Event>
  static void Walk(const std::vector<std::pair<std::string, Callback>>& callbacks, const Event& event);

  rt::Platform p_;
  std::vector<std::pair<std::string, KeyboardCallback>> keyboard_;
  std::vector<std::pair<std::string, MouseCallback>> mouse_;
};

}  // namespace tovan::recorder
