// The rows of the data table: five text cells and a check state each. One
// row keeps its five cells in one string, separated by a byte that UTF-8
// never contains, so a million rows of short texts fit in about 40 MB and
// every whole-table operation is one linear pass.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/list_unit.h"

namespace tovan::table {

// Column indexes of the data table.
enum Column : std::size_t { kNumber = 0, kContent = 1, kSkip = 2, kPause = 3, kHotkey = 4 };
inline constexpr std::size_t kColumns = 5;
// The window unit that shows the rows.
inline constexpr char kTable[] = "超级列表框1";

class RowStore : public rt::ListModel {
 public:
  std::size_t RowCount() const override { return rows_.size(); }
  // "" for a row or column that does not exist.
  std::string_view Cell(std::size_t row, std::size_t column) const override;
  bool Checked(std::size_t row) const override { return row < rows_.size() && rows_[row].checked; }
  void SetChecked(std::size_t row, bool checked) override {
    if (row < rows_.size()) rows_[row].checked = checked;
  }

  // Writes a cell; a row or column that does not exist is ignored.
  void SetCell(std::size_t row, std::size_t column, std::string_view text);
  // Appends an unchecked row with this first-column text; returns its index.
  std::size_t Append(std::string_view number, std::string_view content = {});
  void Delete(std::size_t row);
  void Clear() { rows_.clear(); }
  void Reserve(std::size_t rows) { rows_.reserve(rows); }

  // Every row's number cell becomes its 1-based position.
  void Renumber();
  // Deletes every row whose content is empty, then renumbers; returns how many went.
  std::size_t DeleteBlankRows();
  void ClearColumn(std::size_t column);
  void SetAllChecked(bool checked);
  // Rows whose content contains the text (case-sensitive), in table order.
  std::vector<std::size_t> FindContent(std::string_view text) const;

 private:
  struct Row {
    std::string cells;  // the five cells joined by kSeparator
    bool checked = false;
  };
  static constexpr char kSeparator = '\xFF';

  static std::string Join(std::string_view number, std::string_view content);
  // Byte range [begin, end) of a column inside a row's cells.
  static std::pair<std::size_t, std::size_t> Range(const std::string& cells, std::size_t column);

  std::vector<Row> rows_;
};

}  // namespace tovan::table
