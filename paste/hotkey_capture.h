// Typing a hotkey into a box: the key-pressed event shows the prefix and
// the highest-coded named key that is down; the key-released event keeps
// the text unless it is refused (a modifier alone, Ctrl+V, or a text the
// table's hotkey column or another recorder box already holds). One capture
// state serves every capture box.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "runtime/platform.h"
#include "table/row_store.h"

namespace tovan::paste {

// The boxes that capture hotkeys: the three recorder boxes and the table's
// hotkey cell editor.
inline constexpr const char* kRecorderBoxes[] = {"记录", "模拟", "停止"};
inline constexpr char kHotkeyEditor[] = "编辑框1007";

class HotkeyCapture {
 public:
  HotkeyCapture(rt::Platform platform, const table::RowStore& rows) : p_(platform), rows_(rows) {}

  // Binds the key events of the four capture boxes.
  void Bind();
  void Pressed(std::string_view box, int virtual_key, int modifiers);
  void Released(std::string_view box, int virtual_key);

  // Commits the hotkey cell editor to its cell (Enter released in it).
  std::function<void()> commit_hotkey_editor = [] {};

 private:
  rt::Platform p_;
  const table::RowStore& rows_;
  // The capture state: the name of the key found by the last key-pressed
  // event in any box, and the prefix computed for that event.
  std::string name_;
  std::string prefix_;
  std::uint64_t events_ = 0;  // key events handled so far, to tell a newer one
};

}  // namespace tovan::paste
