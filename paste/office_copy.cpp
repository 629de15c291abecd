// The backtick key's Word and Excel modes, and the two buttons that start
// them with a new document or workbook.
#include <string>

#include "paste/backtick.h"
#include "runtime/text.h"
#include "table/cell_cursor.h"

namespace tovan::paste {
namespace {

// How many columns of a row the Excel mode fills: "1" to "10", else none.
int ColumnsPerRow(const std::string& text) {
  for (int n = 1; n <= 10; ++n)
    if (text == rt::ToText(n)) return n;
  return 0;
}

// Says so next to the program's button, once the work of a click or a
// press is over, when the office program stopped answering meanwhile: its
// calls were given up, and the next ones work once it answers again.
class HungReport {
 public:
  HungReport(rt::Platform& p, const char* button, const char* text) : p_(p), button_(button), text_(text) {}
  ~HungReport() {
    if (p_.automation.Hung()) p_.ui.Hint(text_, button_, 10, 30);
  }
  HungReport(const HungReport&) = delete;
  HungReport& operator=(const HungReport&) = delete;

 private:
  rt::Platform& p_;
  const char* button_;
  const char* text_;
};

constexpr char kWordHung[] = "●Word没有响应，请等它恢复后再试！";
constexpr char kExcelHung[] = "●Excel没有响应，请等它恢复后再试！";
// How long a start may take before the user is told it is under way.
constexpr int kSlowStartMs = 1000;

}  // namespace

bool Backtick::StartOffice(const char* button, const char* starting, const char* missing,
                           const std::function<bool()>& start) {
  const int this_start = ++office_starts_;
  office_starting_ = this_start;
  p_.ui.RunLater(kSlowStartMs, [this, this_start, button, starting] {
    if (office_starting_ == this_start) p_.ui.Hint(starting, button, 10, 30);
  });
  const bool found = start();
  if (office_starting_ == this_start) office_starting_ = 0;
  if (!found) p_.ui.Hint(missing, button, 10, 30);
  return found;
}

void Backtick::WordButton() {
  const HungReport report(p_, "按钮word", kWordHung);
  hotkeys_.ReRegisterBacktick();
  show_table();
  select_copy_mode("按钮word", 2);
  if (!StartOffice("按钮word", "●正在启动Word，请稍候……", "●没有找到Word或WPS文字，Word模式用不了！",
                   [this] { return word_.StartWord(); }))
    return;
  word_.AddDocument();
  word_.SetWordVisible(true);
}

void Backtick::ExcelButton() {
  const HungReport report(p_, "按钮excel", kExcelHung);
  const bool paste_was_on = p_.ui["按钮66"].Text() == "关闭复制";
  hotkeys_.ReRegisterBacktick();
  show_table();
  select_copy_mode("按钮excel", 3);
  reset_cell_cursor();
  if (!StartOffice("按钮excel", "●正在启动Excel，请稍候……", "●没有找到Excel或WPS表格，Excel模式用不了！",
                   [this] { return excel_.StartExcel(); }))
    return;
  excel_.AddSheet();
  excel_.AddWorkbook();
  excel_.SetExcelVisible(true);
  // The first paste shows the sheet is ready, unless the click just
  // switched backtick paste off (and cleared the clipboard).
  if (paste_was_on) return;
  p_.clipboard.SetText("欢迎使用！");
  excel_.PasteAtCell("A1");
}

void Backtick::CopyIntoWord() {
  const HungReport report(p_, "按钮word", kWordHung);
  p_.clock.Wait(100);
  if (Copy(CopyWait(), press_window_).empty()) return;
  word_.PasteAtSelection();
  word_.TypeIntoSelection("\r\n", 0);
}

void Backtick::CopyIntoExcel() {
  const HungReport report(p_, "按钮excel", kExcelHung);
  p_.clock.Wait(100);
  if (Copy(CopyWait(), press_window_).empty()) return;
  const int columns = ColumnsPerRow(p_.ui["组合框63"].Text());
  if (columns == 0) return;
  auto flag = [&](int i) -> rt::Unit& { return p_.ui[CellCursorFlag(i)]; };
  // The first column still to fill; none (the count was lowered mid-row)
  // begins a new row as the first column does.
  int column = 0;
  while (column < columns && !flag(column).Checked()) ++column;
  if (column == columns || column == 0) {
    int rows = 0, used_columns = 0;
    excel_.GetUsedRangeSize(rows, used_columns);
    const std::string row = rt::ToText(rows + 1);
    for (int i = 0; i < columns; ++i) p_.ui[CellCursorBox(i)].SetText(std::string(1, static_cast<char>('A' + i)) + row);
    column = 0;
  }
  excel_.PasteAtCell(p_.ui[CellCursorBox(column)].Text());
  flag(column).SetChecked(false);
  // The row's last column: the next press begins a new row.
  if (column == columns - 1)
    for (int i = 0; i < columns; ++i) flag(i).SetChecked(true);
  if (columns > 1) p_.clock.Wait(CopyWait());
}

}  // namespace tovan::paste
