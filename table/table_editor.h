// Editing the data table by hand: hit test and column hints, the three
// in-place cell editors, header actions, check boxes with Shift ranges,
// deleting, clearing and finding rows.
#pragma once

#include <functional>

#include "runtime/platform.h"
#include "table/row_store.h"

namespace tovan::table {

class TableEditor {
 public:
  TableEditor(rt::Platform platform, RowStore& rows) : p_(platform), rows_(rows) {}

  // Binds the table's, the editors' and the search box's events; the units
  // must exist.
  void Bind();

  // Calls of the other parts of the program.
  // Whether the row hotkeys are loaded, and the loader that toggles them.
  std::function<bool()> row_hotkeys_loaded = [] { return false; };
  std::function<void()> load_or_unload_row_hotkeys = [] {};
  // Writes the check-state file after every check change.
  std::function<void()> save_check_states = [] {};
  // Switches the row order to the checked rows, as the find box asks.
  std::function<void()> select_checked_order = [] {};

  void RenumberRows();
  // Rows from `among` on are known to have content (see RowStore).
  void DeleteBlankRows(std::size_t among = static_cast<std::size_t>(-1));
  void ClearColumn(std::size_t column);
  void FindRows();
  void DeleteCurrentRow();
  void DeleteAllRows();
  // Writes the hotkey cell editor's text into its cell.
  void CommitHotkeyEditor();
  // The rows changed in the store: the list shows the new count.
  void Refresh();

  rt::CellHit HitCell() const { return hit_; }
  int CheckAnchor() const { return check_anchor_; }

 private:
  rt::ListUnit& List() const;
  void HitTest(rt::Point at);
  void OpenEditor(rt::Point at);
  void PlaceEditor(std::string_view editor, int row, int column, int d, int extra_width);
  void HeaderClicked(int column);
  void CommitContentEditor();
  void CommitEditor(std::string_view editor);
  void CheckChanged(int row, bool state, bool shift_click);
  void SearchKey(int key);
  void SearchClicked();
  void ResetChecks(bool checked);
  bool Ask(std::string_view question);

  rt::Platform p_;
  RowStore& rows_;
  rt::CellHit hit_{0, 0};
  rt::CellHit editor_cell_{0, 0};
  int check_anchor_ = 0;
};

}  // namespace tovan::table
