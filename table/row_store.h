// The rows of the data table: five text cells and a check state each. One
// row keeps its five cells in one string, separated by a byte that UTF-8
// never contains, so a million rows of short texts fit in about 40 MB and
// every whole-table operation is one linear pass. The strings live in
// memory pools of the store (one per batch of rows it took in), so that a
// million rows are built and freed without a million calls to the system's
// heap.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <memory_resource>
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
  using Pool = std::pmr::unsynchronized_pool_resource;
  using Pools = std::vector<std::shared_ptr<Pool>>;
  struct Row {
    std::pmr::string cells;  // the five cells joined by kSeparator
    bool checked = false;
  };

 public:
  // Rows built away from the table (by a job off the window thread), then
  // handed to it whole. Rows are numbered on from `first_number`; Adopt
  // renumbers them if the table no longer ends just before it.
  class Batch {
   public:
    explicit Batch(std::size_t first_number = 1) : first_number_(first_number) {}
    void Reserve(std::size_t rows) { rows_.reserve(rows); }
    void Add(std::string_view content, std::string_view skip = {}, std::string_view pause = {},
             std::string_view hotkey = {});
    void SetChecked(std::size_t row) {
      if (row < rows_.size()) rows_[row].checked = true;
    }
    std::size_t Size() const { return rows_.size(); }
    // Moves the rows of a batch numbered on from this one's behind them.
    void Append(Batch&& next) {
      rows_.reserve(rows_.size() + next.rows_.size());
      std::move(next.rows_.begin(), next.rows_.end(), std::back_inserter(rows_));
      next.rows_.clear();
      pools_.insert(pools_.end(), next.pools_.begin(), next.pools_.end());
    }

   private:
    friend class RowStore;
    Pools pools_{std::make_shared<Pool>()};  // pools_[0] holds the rows added here
    std::vector<Row> rows_;                  // freed before their pools
    std::size_t first_number_ = 1;
  };

  RowStore() = default;
  RowStore(const RowStore&) = delete;
  RowStore& operator=(const RowStore&) = delete;

  std::size_t RowCount() const override { return rows_.size(); }
  // "" for a row or column that does not exist.
  std::string_view Cell(std::size_t row, std::size_t column) const override;
  // All five cells of a row at once (empty for a row that does not exist).
  std::array<std::string_view, kColumns> Cells(std::size_t row) const;
  bool Checked(std::size_t row) const override { return row < rows_.size() && rows_[row].checked; }
  void SetChecked(std::size_t row, bool checked) override {
    if (row < rows_.size()) rows_[row].checked = checked, ++generation_;
  }
  // Counts every change of the rows, their cells and their checks: work
  // that lets events run between slices of rows can tell whether the rows
  // changed under it.
  std::uint64_t Generation() const { return generation_; }

  // Writes a cell; a row or column that does not exist is ignored.
  void SetCell(std::size_t row, std::size_t column, std::string_view text);
  // Appends the batch's rows after the last row (numbered on from it).
  void Adopt(Batch&& batch);
  // Takes every row out of the table at once, to be freed elsewhere.
  Batch TakeAll();
  // Writes the skip, pause and hotkey cells of a row in one go.
  void SetExtras(std::size_t row, std::string_view skip, std::string_view pause, std::string_view hotkey);

  // Appends an unchecked row with this first-column text; returns its index.
  std::size_t Append(std::string_view number, std::string_view content = {});
  void Delete(std::size_t row);
  void Clear();
  void Reserve(std::size_t rows) { rows_.reserve(rows); }

  // Every row's number cell (from row `from` on) becomes its 1-based position.
  void Renumber(std::size_t from = 0);
  // Deletes every row whose content is empty, then renumbers; returns how many went.
  std::size_t DeleteBlankRows();
  void ClearColumn(std::size_t column);
  void SetAllChecked(bool checked);
  // Rows whose content contains the text (case-sensitive), in table order.
  std::vector<std::size_t> FindContent(std::string_view text) const;

 private:
  static constexpr char kSeparator = '\xFF';

  static std::pmr::string Join(Pool& pool, std::string_view number, std::string_view content,
                               std::string_view skip = {}, std::string_view pause = {}, std::string_view hotkey = {});
  // Byte range [begin, end) of a column inside a row's cells.
  static std::pair<std::size_t, std::size_t> Range(std::string_view cells, std::size_t column);

  Pools pools_{std::make_shared<Pool>()};  // pools_[0] holds the rows appended one by one
  std::vector<Row> rows_;                  // freed before their pools
  std::uint64_t generation_ = 0;
};

}  // namespace tovan::table
