// Registering the system-wide hotkeys: the row hotkeys of the table's
// 自定义快捷键 column (loaded and unloaded by 加载热键, whose caption is the
// loaded state), the backtick key and the three recorder hotkeys. A press
// of any of them reaches 标签1.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "runtime/platform.h"
#include "table/row_store.h"
#include "table/table_editor.h"

namespace tovan::paste {

inline constexpr char kReceiver[] = "标签1";
inline constexpr char kLoadButton[] = "加载热键";
inline constexpr int kRowSlots = 50;

// The identifiers of every hotkey the program registers (0: none).
struct HotkeyIds {
  int backtick = 0;
  std::array<int, kRowSlots> rows{};  // slot k is rows[k - 1]
  int record = 0;
  int simulate = 0;
  int stop = 0;
};

class HotkeyLoader {
 public:
  HotkeyLoader(rt::Platform platform, table::RowStore& rows, table::TableEditor& editor)
      : p_(platform), rows_(rows), editor_(editor) {}

  // Binds 加载热键, 加载热键A and 按钮卸载热键.
  void Bind();
  bool RowHotkeysLoaded() const;
  // Loads the row hotkeys when the caption reads "加载热键", else unloads them.
  void LoadOrUnloadRowHotkeys();
  // Unloads the row hotkeys if they are loaded, then loads them again.
  void ReloadRowHotkeys();
  void RegisterFixedHotkeys();
  void UnregisterRecorderHotkeys();
  void ReRegisterBacktick();
  // Frees the backtick key (while the recorder is on).
  void UnregisterBacktick();
  // Everything the program registered, at exit.
  void UnregisterAll();

  const HotkeyIds& Ids() const { return ids_; }
  // The row slot (1 to 50) of a hotkey identifier, 0 for none.
  int SlotOf(int id) const;

  // A recorder hotkey box was pressed: the recorder is off, a replay under
  // way ends at once (its stop hotkey is freed with the others).
  std::function<void()> recorder_marked_off = [] {};

 private:
  // Registers a hotkey text into `slot` (its id, first unregistered); a
  // refused one is shown next to `anchor`. False when refused.
  bool Register(int& slot, std::string_view text, std::string_view anchor);

  rt::Platform p_;
  table::RowStore& rows_;
  table::TableEditor& editor_;
  HotkeyIds ids_;
};

}  // namespace tovan::paste
