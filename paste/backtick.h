// The backtick key (the key left of 1) and the mouse: one key that collects
// the text selected in another program into the table or the same-page
// text, or pastes; and, while backtick paste (按钮66) is on, a mouse hook
// that copies every drag-selection and pastes on a middle click. What a
// press does is the copy mode, the selection of 组合框1:
//   0 万条复制, 1 有序复制  copy into the table, split by 导入方式
//   2 Word, 3 Excel         copy into the document or sheet the tool opened
//   4 同页粘贴              copy onto the same-page text 编辑框25
//   5 反撇号键复制粘贴      paste
//   6 (the recorder)        nothing
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <limits>
#include <string>

#include "paste/hotkey_loader.h"
#include "paste/pin_on_top.h"
#include "runtime/platform.h"
#include "table/busy.h"
#include "table/excel.h"
#include "table/import_cut.h"
#include "table/row_store.h"
#include "table/same_page_file.h"
#include "table/table_editor.h"
#include "table/word.h"

namespace tovan::paste {

// The name backtick paste listens to the mouse under.
inline constexpr char kBacktickHookOwner[] = "backtick";

class Backtick {
 public:
  Backtick(rt::Platform platform, table::RowStore& rows, table::TableEditor& editor, table::Busy& busy,
           HotkeyLoader& hotkeys, table::SamePageFile& same_page)
      : p_(platform),
        rows_(rows),
        editor_(editor),
        busy_(busy),
        hotkeys_(hotkeys),
        same_page_(same_page),
        pin_(platform),
        excel_(platform.automation),
        word_(platform.automation) {}

  // Binds 按钮66, 按钮104, the focus on 编辑框25 and the pin hints.
  void Bind();
  // The backtick hotkey was pressed while `window` (top-level; 0 for
  // none) was in front: the press belongs to it, and copies or pastes
  // nothing once another window is in front.
  void Press(std::uintptr_t window);
  // A copy-mode button left backtick paste: 按钮66 back to off, the
  // clipboard cleared, the mouse hook removed.
  void TurnOffPaste();
  // 按钮word and 按钮excel: the copy mode, and a new document or workbook.
  void WordButton();
  void ExcelButton();

  // The copy mode and its buttons' colours (组合框1 and the mode buttons).
  std::function<void(std::string_view button, int mode)> select_copy_mode = [](std::string_view, int) {};
  // Shows the data table in place of the same-page text.
  std::function<void()> show_table = [] {};
  // Puts the Excel cell cursor back to row 1 with every column to fill.
  std::function<void()> reset_cell_cursor = [] {};
  // Runs a mouse copy or paste in turn with the hotkey presses: after the
  // one under way, and a press made meanwhile after it.
  std::function<void(std::function<void()>)> in_turn = [](std::function<void()> job) { job(); };

 private:
  // Starts the office program of a mode button; says so next to the button
  // when the start takes a while, and when the program is not there.
  bool StartOffice(const char* button, const char* starting, const char* missing, const std::function<bool()>& start);
  // The copy modes of a press.
  void CopyIntoTable();
  // Copied text as new rows of the table, cut as the import mode says.
  void AddCopiedRows(const std::string& text, table::ImportMode mode, const std::string& separator);
  // The copies held back while a file action owned the rows.
  void AddHeldCopies();
  void CopyOntoSamePage();
  void CopyIntoWord();
  void CopyIntoExcel();
  // 按钮66 and 按钮104.
  void TogglePaste();
  void EnterSamePage();
  // The mouse, while backtick paste is on.
  void MouseEvent(const rt::MouseEvent& event);
  // A mouse action belongs to the top-level window under the cursor when
  // the button was released (pressed, for the middle button), and its
  // waits count from that moment (Clock::NowMicros).
  void CopyDrag(std::uintptr_t window, std::int64_t released_micros);
  void MiddleClickPaste(std::uintptr_t window, std::int64_t pressed_micros);

  bool SamePageOn() const;
  int CopyWait() const;
  // Ctrl+C, the given wait, and what the clipboard then holds (nothing
  // when `window`, the one the copy belongs to, has left the front, or
  // when the Ctrl+C changed nothing). The wait for the program to copy
  // ends early once the left button is released after `moved_on_after`.
  std::string Copy(int wait_ms, std::uintptr_t window,
                   std::int64_t moved_on_after = std::numeric_limits<std::int64_t>::max());
  // Whether the window is (still) in front; if not, says so.
  bool InFront(std::uintptr_t window);
  void AppendToSamePage(const std::string& text);

  rt::Platform p_;
  table::RowStore& rows_;
  table::TableEditor& editor_;
  table::Busy& busy_;
  HotkeyLoader& hotkeys_;
  table::SamePageFile& same_page_;
  PinOnTop pin_;
  table::Excel类 excel_;
  table::Word类 word_;
  rt::Point press_point_;
  std::uintptr_t press_window_ = 0;  // the window the backtick press under way belongs to
  int office_starts_ = 0;            // office starts so far
  int office_starting_ = 0;          // the one under way (0: none)
  struct HeldCopy {
    std::string text;
    table::ImportMode mode;
    std::string separator;
  };
  std::deque<HeldCopy> held_copies_;
};

}  // namespace tovan::paste
