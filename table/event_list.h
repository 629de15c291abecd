// The rows of the recorder's event list 超级列表框2: eight text cells each
// (类型, 键名, 键状态, 键值, X, Y, 状态, 时间), no check states.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "runtime/list_unit.h"

namespace tovan::table {

inline constexpr char kEventList[] = "超级列表框2";

class EventList : public rt::ListModel {
 public:
  static constexpr std::size_t kColumns = 8;
  using Row = std::array<std::string, kColumns>;

  std::size_t RowCount() const override { return rows_.size(); }
  std::string_view Cell(std::size_t row, std::size_t column) const override {
    return row < rows_.size() && column < kColumns ? std::string_view(rows_[row][column]) : std::string_view();
  }
  bool Checked(std::size_t) const override { return false; }
  void SetChecked(std::size_t, bool) override {}

  void Append(Row row) { rows_.push_back(std::move(row)); }
  void RemoveLast() {
    if (!rows_.empty()) rows_.pop_back();
  }
  void SetCell(std::size_t row, std::size_t column, std::string text) {
    if (row < rows_.size() && column < kColumns) rows_[row][column] = std::move(text);
  }
  void Clear() { rows_.clear(); }
  const Row& At(std::size_t row) const { return rows_[row]; }

 private:
  std::vector<Row> rows_;
};

}  // namespace tovan::table
