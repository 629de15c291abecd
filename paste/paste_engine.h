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
#include <optional>
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

  // A row hotkey was pressed while `window` (a top-level window; 0 for
  // none) was in front. The press belongs to that window: it sends nothing
  // once another window is in front, a dialog of the same program included.
  void PasteOnHotkey(int id, std::uintptr_t window);
  // A press of an automatic mode's hotkey made while a run was under way:
  // stops it before its next row; does nothing more while the stop is
  // pending or once the run has ended.
  void StopRunOnHotkey();
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

  // How a row's paste ended. Not taken: nothing of it can arrive any more
  // (not sent, or taken back unread), and the row stays for the next press.
  // Maybe: it went to a program whose read did not count, so it may have
  // arrived; the next row is current and a hint asks the user to look.
  enum class Delivery { kTaken, kNotTaken, kMaybe };

  // Building blocks.
  bool SetClipboard(std::string_view text);
  // The field a paste goes into, as it was before it (where it can be read).
  struct FieldBefore {
    std::uintptr_t window = 0;
    std::uintptr_t field = 0;
    std::optional<rt::FieldState> state;
  };
  FieldBefore ReadTargetField();
  // Waits until `ms` have passed since the moment given (events running).
  void WaitFrom(std::int64_t start_micros, int ms);
  // Ctrl+V for what `write` put on the clipboard, then nothing more until
  // the program told to paste has read it; once more when it read it and
  // the field it pasted into is seen unchanged. `row` names the row in the
  // hint shown when the read does not come (−1: the checked rows).
  Delivery PressPaste(const std::function<bool()>& write, int row, const FieldBefore& before);
  // False when nothing was pressed: the press's window left the front.
  bool PressCtrlV();
  // Waits for the paste's read while the program answers, longer while it
  // does not; false when it did not come (the content is then taken back).
  bool AwaitPasteRead();
  // A paste that did not end taken: ends the run, with the hint.
  Delivery NotTaken(Delivery delivery, int row);
  // A row read by the program but kept by no field, twice: ends the press
  // or run on it, with the hint.
  Delivery NotArrived(int row);
  Delivery ClipboardPaste(std::string_view text, int wait_ms, int row);
  void SkipKeys(int row, Key key, bool waits);
  void TypedTabs(int row);
  bool PostRow(std::string_view text);
  // The Tabs after a posted row.
  void SkipKeysAfterPost(int row, bool waits);
  // Posted characters are taken before queued keys: the next row waits
  // until the keys after the row before have been handled.
  bool AwaitKeysHandled();
  // False when nothing was typed: the press's window left the front.
  bool TypeRow(std::string_view text);
  Delivery PasteItemList();
  // False when nothing was pressed: the program an automatic run fills is
  // no longer in front.
  bool Press(std::initializer_list<int> chord);
  void WaitForModifiersReleased();
  void Advance();
  void EndCheck();
  // Whether another window than the press's is in front (none for longer
  // than a moment counts too); the press, or the run, then ends with a
  // hint saying why, and sends nothing more.
  bool TargetLeft();
  // The same, and the window text is posted to must belong to the press's.
  bool PostTargetLeft(std::uintptr_t window);
  // The press's window left the front: nothing more is sent, with the hint.
  void LeftFront();
  // The automatic run under way has been asked to stop.
  bool StopAsked() const;
  // Ends the automatic run if one is under way.
  void EndRunning();

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
  std::int64_t pasted_at_ = -1;  // when the last Ctrl+V was pressed, until keys after it were sent
  bool run_active_ = false;  // an automatic run's loop is under way
  // The window and control a row was posted to, once keys followed it.
  struct Posted {
    std::uintptr_t window = 0;
    std::uintptr_t control = 0;
  };
  std::optional<Posted> last_post_, keys_after_post_;
  // The top-level window the press under way belongs to, and whether it has
  // left the front (the press then sends nothing more).
  std::uintptr_t press_window_ = 0;
  bool press_left_ = false;
};

}  // namespace tovan::paste
