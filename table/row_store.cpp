#include "table/row_store.h"

#include <algorithm>
#include <charconv>

namespace tovan::table {

std::string RowStore::Join(std::string_view number, std::string_view content) {
  std::string cells;
  cells.reserve(number.size() + content.size() + 4);
  cells.append(number).push_back(kSeparator);
  cells.append(content).append(3, kSeparator);
  return cells;
}

std::pair<std::size_t, std::size_t> RowStore::Range(const std::string& cells, std::size_t column) {
  std::size_t begin = 0;
  for (std::size_t c = 0; c < column; ++c) begin = cells.find(kSeparator, begin) + 1;
  const std::size_t end = cells.find(kSeparator, begin);
  return {begin, end == std::string::npos ? cells.size() : end};
}

std::string_view RowStore::Cell(std::size_t row, std::size_t column) const {
  if (row >= rows_.size() || column >= kColumns) return {};
  const std::string& cells = rows_[row].cells;
  const auto [begin, end] = Range(cells, column);
  return std::string_view(cells).substr(begin, end - begin);
}

void RowStore::SetCell(std::size_t row, std::size_t column, std::string_view text) {
  if (row >= rows_.size() || column >= kColumns) return;
  std::string& cells = rows_[row].cells;
  const auto [begin, end] = Range(cells, column);
  // A separator byte inside a text would shift every later cell; UTF-8 text
  // never holds one, and anything else is cut there.
  cells.replace(begin, end - begin, text.substr(0, text.find(kSeparator)));
}

std::size_t RowStore::Append(std::string_view number, std::string_view content) {
  rows_.push_back(Row{Join(number.substr(0, number.find(kSeparator)), content.substr(0, content.find(kSeparator)))});
  return rows_.size() - 1;
}

void RowStore::Delete(std::size_t row) {
  if (row < rows_.size()) rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
}

void RowStore::Renumber() {
  char digits[24];
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const auto result = std::to_chars(digits, digits + sizeof digits, i + 1);
    std::string& cells = rows_[i].cells;
    const std::size_t end = cells.find(kSeparator);
    const std::string_view number(digits, result.ptr - digits);
    if (std::string_view(cells).substr(0, end) != number) cells.replace(0, end, number);
  }
}

std::size_t RowStore::DeleteBlankRows() {
  const std::size_t before = rows_.size();
  std::erase_if(rows_, [](const Row& row) {
    const std::size_t first = row.cells.find(kSeparator);
    return row.cells[first + 1] == kSeparator;  // the content cell is empty
  });
  Renumber();
  return before - rows_.size();
}

void RowStore::ClearColumn(std::size_t column) {
  for (std::size_t row = 0; row < rows_.size(); ++row) SetCell(row, column, {});
}

void RowStore::SetAllChecked(bool checked) {
  for (Row& row : rows_) row.checked = checked;
}

std::vector<std::size_t> RowStore::FindContent(std::string_view text) const {
  std::vector<std::size_t> found;
  if (text.empty()) return found;
  for (std::size_t row = 0; row < rows_.size(); ++row)
    if (Cell(row, kContent).find(text) != std::string_view::npos) found.push_back(row);
  return found;
}

}  // namespace tovan::table
