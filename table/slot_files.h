// The five save slots and the check-state file: the prepared table kept
// between runs in GBK text files beside the program.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "runtime/platform.h"
#include "table/row_store.h"
#include "table/table_editor.h"

namespace tovan::table {

class SlotFiles {
 public:
  SlotFiles(rt::Platform platform, RowStore& rows, TableEditor& editor)
      : p_(platform), rows_(rows), editor_(editor) {}

  // Binds the slot buttons, 打开自定义 and the check-state buttons.
  void Bind();

  // Slots are 'A' to 'E'.
  void OpenSlot(char slot);
  void SaveSlot(char slot);
  // Re-applies the active slot's skip, pause and hotkey cells, then the check states.
  void ApplyActiveSlot();
  void SaveCheckStates();
  void LoadCheckStates();
  // Appends the rows of a slot row file; a missing file appends nothing.
  void BulkLoadRows(std::string_view path);

  // A slot is being loaded (its batches let the window's events run).
  bool Loading() const { return loading_; }

  // Whether the row hotkeys are loaded, and the loader that toggles them.
  std::function<bool()> row_hotkeys_loaded = [] { return false; };
  std::function<void()> load_or_unload_row_hotkeys = [] {};

 private:
  std::string PathOf(std::string_view name) const { return p_.files.InRunDirectory(name); }

  rt::Platform p_;
  RowStore& rows_;
  TableEditor& editor_;
  bool loading_ = false;
};

}  // namespace tovan::table
