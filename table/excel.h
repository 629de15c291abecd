// The spreadsheet the Excel mode fills: "Excel.Application" driven by
// member name, or WPS Office's spreadsheet under its own names with the
// same object model where Excel is not there. One object for the whole
// run; every click of 按钮excel starts a new application object in it. A
// failed member leaves the operation without effect, and the next still runs.
#pragma once

#include <memory>
#include <string_view>

#include "runtime/automation.h"

namespace tovan::table {

class Excel类 {
 public:
  explicit Excel类(rt::Automation& automation) : automation_(automation) {}

  // False when neither Excel nor WPS's spreadsheet is registered.
  bool StartExcel();
  void SetExcelVisible(bool visible);
  // A new sheet in the active workbook (released at once: nobody keeps it).
  void AddSheet();
  // A new workbook; its active sheet is looked at and released.
  void AddWorkbook();
  // The used range of the active sheet: its rows and columns (0 and 0 when
  // there is no sheet).
  void GetUsedRangeSize(int& rows, int& columns);
  // Pastes the clipboard at the cell ("A1") of the active sheet.
  void PasteAtCell(std::string_view address);

 private:
  rt::Automation& automation_;
  std::unique_ptr<rt::AutomationObject> application_;
};

}  // namespace tovan::table
