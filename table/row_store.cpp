#include "table/row_store.h"

#include <algorithm>
#include <charconv>
#include <iterator>

namespace tovan::table {

namespace {

// A separator byte inside a text would shift every later cell; UTF-8 text
// never holds one, and anything else is cut there.
std::string_view Clean(std::string_view text, char separator) { return text.substr(0, text.find(separator)); }

std::string_view NumberText(std::size_t number, char (&digits)[24]) {
  const auto result = std::to_chars(digits, digits + sizeof digits, number);
  return std::string_view(digits, result.ptr - digits);
}

}  // namespace

std::pmr::string RowStore::Join(Pool& pool, std::string_view number, std::string_view content,
                                std::string_view skip, std::string_view pause, std::string_view hotkey) {
  number = Clean(number, kSeparator), content = Clean(content, kSeparator), skip = Clean(skip, kSeparator);
  pause = Clean(pause, kSeparator), hotkey = Clean(hotkey, kSeparator);
  std::pmr::string cells(&pool);
  cells.reserve(number.size() + content.size() + skip.size() + pause.size() + hotkey.size() + 4);
  cells.append(number).push_back(kSeparator);
  cells.append(content).push_back(kSeparator);
  cells.append(skip).push_back(kSeparator);
  cells.append(pause).push_back(kSeparator);
  cells.append(hotkey);
  return cells;
}

void RowStore::Batch::Add(std::string_view content, std::string_view skip, std::string_view pause,
                          std::string_view hotkey) {
  char digits[24];
  rows_.push_back(Row{Join(*pools_[0], NumberText(rows_.size() + first_number_, digits), content, skip, pause, hotkey)});
}

void RowStore::Adopt(Batch&& batch) {
  ++generation_;
  const std::size_t before = rows_.size();
  if (before == 0) {
    rows_.swap(batch.rows_);
  } else {
    rows_.reserve(before + batch.rows_.size());
    std::move(batch.rows_.begin(), batch.rows_.end(), std::back_inserter(rows_));
  }
  batch.rows_.clear();
  pools_.insert(pools_.end(), batch.pools_.begin(), batch.pools_.end());
  if (batch.first_number_ != before + 1) Renumber(before);
}

RowStore::Batch RowStore::TakeAll() {
  ++generation_;
  Batch taken;
  taken.rows_.swap(rows_);
  taken.pools_.swap(pools_);
  pools_ = {std::make_shared<Pool>()};
  return taken;
}

void RowStore::SetExtras(std::size_t row, std::string_view skip, std::string_view pause, std::string_view hotkey) {
  ++generation_;
  if (row >= rows_.size()) return;
  std::pmr::string& cells = rows_[row].cells;
  const std::size_t content_end = Range(cells, kContent).second;
  cells.resize(content_end + 1);
  cells.append(Clean(skip, kSeparator)).push_back(kSeparator);
  cells.append(Clean(pause, kSeparator)).push_back(kSeparator);
  cells.append(Clean(hotkey, kSeparator));
}

std::pair<std::size_t, std::size_t> RowStore::Range(std::string_view cells, std::size_t column) {
  std::size_t begin = 0;
  for (std::size_t c = 0; c < column; ++c) begin = cells.find(kSeparator, begin) + 1;
  const std::size_t end = cells.find(kSeparator, begin);
  return {begin, end == std::string::npos ? cells.size() : end};
}

std::string_view RowStore::Cell(std::size_t row, std::size_t column) const {
  if (row >= rows_.size() || column >= kColumns) return {};
  const std::pmr::string& cells = rows_[row].cells;
  const auto [begin, end] = Range(cells, column);
  return std::string_view(cells).substr(begin, end - begin);
}

std::array<std::string_view, kColumns> RowStore::Cells(std::size_t row) const {
  std::array<std::string_view, kColumns> cells{};
  if (row >= rows_.size()) return cells;
  std::string_view rest = rows_[row].cells;
  for (std::size_t column = 0; column < kColumns; ++column) {
    const std::size_t end = rest.find(kSeparator);
    cells[column] = rest.substr(0, end);
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return cells;
}

void RowStore::SetCell(std::size_t row, std::size_t column, std::string_view text) {
  ++generation_;
  if (row >= rows_.size() || column >= kColumns) return;
  std::pmr::string& cells = rows_[row].cells;
  const auto [begin, end] = Range(cells, column);
  cells.replace(begin, end - begin, Clean(text, kSeparator));
}

std::size_t RowStore::Append(std::string_view number, std::string_view content) {
  ++generation_;
  rows_.push_back(Row{Join(*pools_[0], number, content)});
  return rows_.size() - 1;
}

void RowStore::Delete(std::size_t row) {
  ++generation_;
  if (row < rows_.size()) rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
}

void RowStore::Renumber(std::size_t from) {
  ++generation_;
  char digits[24];
  for (std::size_t i = from; i < rows_.size(); ++i) {
    std::pmr::string& cells = rows_[i].cells;
    const std::size_t end = cells.find(kSeparator);
    const std::string_view number = NumberText(i + 1, digits);
    if (std::string_view(cells).substr(0, end) != number) cells.replace(0, end, number);
  }
}

std::size_t RowStore::DeleteBlankRows() {
  ++generation_;
  const auto blank = [](const Row& row) {
    const std::size_t first = row.cells.find(kSeparator);
    return row.cells[first + 1] == kSeparator;  // the content cell is empty
  };
  // Rows before the first blank one keep their places and numbers.
  const auto first = std::find_if(rows_.begin(), rows_.end(), blank);
  if (first == rows_.end()) return 0;
  const std::size_t from = static_cast<std::size_t>(first - rows_.begin());
  const std::size_t before = rows_.size();
  rows_.erase(std::remove_if(first, rows_.end(), blank), rows_.end());
  Renumber(from);
  return before - rows_.size();
}

void RowStore::ClearColumn(std::size_t column) {
  for (std::size_t row = 0; row < rows_.size(); ++row) SetCell(row, column, {});
}

void RowStore::Clear() {
  ++generation_;
  rows_.clear();
  pools_ = {std::make_shared<Pool>()};
}

void RowStore::SetAllChecked(bool checked) {
  ++generation_;
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
