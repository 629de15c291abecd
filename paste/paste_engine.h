// What a row hotkey does: the twelve paste modes in sequential and in
// checked-row order. A press puts a row's text into whatever field has the
// focus (clipboard and Ctrl+V, typed, or posted as characters), presses Tab
// or Enter as often as the row's 跳格 says, and moves the table on. The
// state lives in the window's units: the current row is the paste position,
// 按钮120 ("自动"/"单次") and 编辑框1011 ("66" stops) the automatic run.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "paste/forced_paste.h"
#include "paste/hotkey_loader.h"
#include "runtime/platform.h"
#include "table/row_store.h"
#include "table/table_editor.h"

namespace tovan::paste {

class PasteEngine {
 public:
  PasteEngine(rt::Platform platform, table::RowStore& rows, table::TableEditor& editor, const HotkeyLoader& hotkeys,
              const std::unique_ptr<Typist>& typist)
      : p_(platform), rows_(rows), editor_(editor), hotkeys_(hotkeys), typist_(typist) {}

  // A row hotkey was pressed (or re-entered during a wait of a press).
  void PasteOnHotkey(int id);
  // Whether a press now starts or stops an automatic run.
  bool AutomaticMode() const;

  // Brings back the check marks last saved (the check-state file).
  std::function<void()> restore_checks = [] {};

 private:
  enum class Key { kTab = 0x09, kEnter = 0x0D };

  // The modes of each row order.
  void SequentialPress(std::string_view mode, int id);
  void CheckedPress(std::string_view mode);
  // Automatic runs: started by a press while idle, stopped by one while running.
  void SequentialRun(std::string_view mode);
  void CheckedRun(std::string_view mode);
  bool StartRun(bool web);
  void EndRun();

  // Building blocks.
  bool SetClipboard(std::string_view text);
  bool SetClipboardPicture(std::string_view image_bytes);
  // Ctrl+V, and again while the program pasting found the clipboard shut;
  // false when nothing was pressed (the program being filled left).
  bool PressPaste();
  void PressCtrlV();
  bool AwaitPasteRead();
  // False when nothing was pasted (the clipboard stayed out of reach, or
  // the program being filled is no longer in front).
  bool ClipboardPaste(std::string_view text, int wait_ms);
  void SkipKeys(int row, Key key, bool waits);
  void TypedTabs(int row);
  bool PostRow(std::string_view text);
  void TypeRow(std::string_view text);
  void PasteItemList();
  // False when nothing was pressed: the program an automatic run fills is
  // no longer in front.
  bool Press(std::initializer_list<int> chord);
  void WaitForModifiersReleased();
  void Advance();
  void EndCheck();
  // Whether another program than the one an automatic run began in has
  // come to the front (or the tool itself); the run is then stopped, with
  // a hint saying why, and nothing more is sent.
  bool TargetLeft();

  int CurrentRow() const;
  void SetCurrentRow(int row);
  std::string Content(int row) const;
  int SkipCount(int row) const;
  int Interval() const;
  int FirstCheckedRow() const;
  // The current row set from a checked row's number.
  void SetCurrentRowFromNumber(int row);

  rt::Platform p_;
  table::RowStore& rows_;
  table::TableEditor& editor_;
  const HotkeyLoader& hotkeys_;
  const std::unique_ptr<Typist>& typist_;
  bool paste_pending_ = false;  // Ctrl+V pressed, its read still awaited (a nested write waits for it)
  std::uint32_t run_target_ = 0;  // the process an automatic run fills; 0: none, or unknown
};

}  // namespace tovan::paste
