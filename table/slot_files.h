// The five save slots and the check-state file: the prepared table kept
// between runs in GBK text files beside the program. Reading, converting
// and writing run as jobs off the window thread, so a slot of a million
// rows opens and saves while the window keeps answering.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/platform.h"
#include "table/busy.h"
#include "table/row_store.h"
#include "table/table_editor.h"

namespace tovan::table {

class SlotFiles {
 public:
  SlotFiles(rt::Platform platform, RowStore& rows, TableEditor& editor, Busy& busy)
      : p_(platform), rows_(rows), editor_(editor), busy_(busy) {}

  // Binds the slot buttons, 打开自定义 and the check-state buttons.
  void Bind();

  // Slots are 'A' to 'E'.
  void OpenSlot(char slot);
  // Puts back the slot files a save cut short (a crash) left moved aside,
  // for every slot: at start-up, and before a slot opens.
  void RecoverInterruptedSaves();
  // Saves the table into the slot's two files; a save that fails (after
  // trying a held file again) says so next to the slot's button.
  void SaveSlot(char slot);
  // Re-applies the active slot's skip, pause and hotkey cells, then the check states.
  void ApplyActiveSlot();
  // Writes the check-state file. Writes never pile up: a change made while
  // one is under way is written once it ends, so the file always ends up
  // matching the table.
  void SaveCheckStates();
  void LoadCheckStates();

  // Unloads the row hotkeys if they are loaded, then loads them again.
  std::function<void()> reload_row_hotkeys = [] {};

 private:
  std::string PathOf(std::string_view name) const { return p_.files.InRunDirectory(name); }
  // The extras files of the highlighted 打开 buttons, in the order A to E.
  std::vector<std::string> ActiveExtrasFiles() const;
  // What the check-state file holds, or is about to hold while a write is
  // under way (the table's newest checks, when they changed meanwhile).
  std::string CheckStateText();
  // The check-state text of the table's checks: the row numbers, one a line.
  std::string TableCheckText();
  // The table as a slot's two files, converted off the window thread;
  // nothing when the table is empty or the user declined to lose
  // characters GBK cannot hold.
  struct SlotBytes {
    std::string rows;
    std::string extras;
  };
  std::optional<SlotBytes> SlotBytesOfTable();
  // The rest of applying a slot once its cells are in: focus, first row,
  // row hotkeys.
  void FinishApplying();

  rt::Platform p_;
  RowStore& rows_;
  TableEditor& editor_;
  Busy& busy_;
  char saving_slot_ = 0;     // the slot whose save is under way
  bool save_again_ = false;  // that slot was saved again meanwhile
  bool check_writing_ = false;
  bool check_dirty_ = false;
  std::string check_written_;  // the text of the check-state write under way
};

}  // namespace tovan::table
