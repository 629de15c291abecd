#include "table/excel.h"

namespace tovan::table {

bool Excel类::StartExcel() {
  // Microsoft Excel, then WPS Office (current, then older versions).
  auto started = automation_.CreateFirst({"Excel.Application", "KET.Application", "ET.Application"});
  application_ = started ? std::move(*started) : nullptr;
  return started.has_value();
}

void Excel类::SetExcelVisible(bool visible) {
  if (application_) application_->Put("Visible", visible);
}

void Excel类::AddSheet() {
  if (!application_) return;
  if (auto workbook = application_->Get("ActiveWorkbook"))
    if (auto sheets = workbook->Get("Sheets")) sheets->Get("Add");
}

void Excel类::AddWorkbook() {
  if (!application_) return;
  if (auto workbooks = application_->Get("Workbooks"))
    if (auto workbook = workbooks->Get("Add")) workbook->Get("ActiveSheet");
}

void Excel类::GetUsedRangeSize(int& rows, int& columns) {
  rows = columns = 0;
  if (!application_) return;
  auto sheet = application_->Get("ActiveSheet");
  auto used = sheet ? sheet->Get("UsedRange") : nullptr;
  if (!used) return;
  if (auto r = used->Get("Rows")) rows = r->Number("Count").value_or(0);
  if (auto c = used->Get("Columns")) columns = c->Number("Count").value_or(0);
}

void Excel类::PasteAtCell(std::string_view address) {
  if (!application_) return;
  if (auto cell = application_->Get("Range", {std::string(address)})) cell->Call("PasteSpecial");
}

}  // namespace tovan::table
