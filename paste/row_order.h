// The choices that decide what a row hotkey does: the paste mode in 组合框66
// and the row order of the buttons 万条复制 (按钮1, and the hidden 按钮4)
// and 有序复制 (按钮102).
#pragma once

#include <functional>
#include <string_view>

#include "paste/hotkey_loader.h"
#include "runtime/platform.h"
#include "table/row_store.h"
#include "table/table_editor.h"

namespace tovan::paste {

class RowOrder {
 public:
  RowOrder(rt::Platform platform, table::RowStore& rows, table::TableEditor& editor, HotkeyLoader& hotkeys)
      : p_(platform), rows_(rows), editor_(editor), hotkeys_(hotkeys) {}

  // Binds 组合框66, 按钮1, 按钮4 and 按钮102.
  void Bind();
  void ModeChosen();
  void Sequential(bool reload_hotkeys);  // 按钮1 (true), 按钮4 (false)
  void Checked();                        // 按钮102

  // The window's copy-mode presentation: the button shown active and the
  // entry of 组合框1; and the table shown instead of the page text.
  std::function<void(std::string_view button, int mode)> select_copy_mode = [](std::string_view, int) {};
  std::function<void()> show_table = [] {};

 private:
  std::string Mode() const;
  void ReloadIfFirstRowHasHotkey();

  rt::Platform p_;
  table::RowStore& rows_;
  table::TableEditor& editor_;
  HotkeyLoader& hotkeys_;
};

}  // namespace tovan::paste
