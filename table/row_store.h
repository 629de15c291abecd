// The rows of the data table: five text cells and a check state each. A
// row is 16 bytes: where its text lies and how long it is. Its text is its
// content, skip, pause and hotkey cells joined by a byte that UTF-8 never
// holds, kept in text arenas of the store (one per batch of rows it took
// in), so a million rows are built and freed with a few dozen allocations
// and cost little more than their text. A row's number is its position,
// unless a different number was written into it (kept aside), so that
// deleting or inserting rows renumbers nothing.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/list_unit.h"
#include "table/text_arena.h"

namespace tovan::table {

// Column indexes of the data table.
enum Column : std::size_t { kNumber = 0, kContent = 1, kSkip = 2, kPause = 3, kHotkey = 4 };
inline constexpr std::size_t kColumns = 5;
// The window unit that shows the rows.
inline constexpr char kTable[] = "超级列表框1";

class RowStore : public rt::ListModel {
  using Arenas = std::vector<std::shared_ptr<TextArena>>;
  struct Row {
    const char* text = nullptr;
    std::uint32_t size = 0;
    std::uint32_t room : 31 = 0;  // bytes the text may grow to where it is
    std::uint32_t checked : 1 = 0;
  };
  static_assert(sizeof(Row) == 16 || sizeof(void*) != 8, "a row is a pointer and two words");

 public:
  // Rows built away from the table (by a job off the window thread), then
  // handed to it whole; they take the numbers of their places there.
  class Batch {
   public:
    void Reserve(std::size_t rows) { rows_.reserve(rows); }
    void Add(std::string_view content, std::string_view skip = {}, std::string_view pause = {},
             std::string_view hotkey = {});
    void SetChecked(std::size_t row) {
      if (row < rows_.size()) rows_[row].checked = true;
    }
    std::size_t Size() const { return rows_.size(); }
    // Moves the rows of another batch behind this one's.
    void Append(Batch&& next) {
      rows_.insert(rows_.end(), next.rows_.begin(), next.rows_.end());
      next.rows_.clear();
      arenas_.insert(arenas_.end(), next.arenas_.begin(), next.arenas_.end());
    }

   private:
    friend class RowStore;
    friend class Parts;
    Arenas arenas_{std::make_shared<TextArena>()};  // arenas_[0] holds the rows added here
    std::vector<Row> rows_;
  };

  // A batch built in parts at once, each part by a thread of its own, right
  // into its place in one list of rows (no part is copied when they are
  // put together). Each part expects a number of rows, counted beforehand;
  // a part that gets more or fewer (its file changed meanwhile) still
  // gives all of its rows, in order.
  class Parts {
   public:
    explicit Parts(const std::vector<std::size_t>& sizes);
    // Adds a row at the end of part `part`; only one thread adds to a part.
    void Add(std::size_t part, std::string_view content, std::string_view skip = {}, std::string_view pause = {},
             std::string_view hotkey = {});
    // The rows of every part, in order.
    Batch Join() &&;

   private:
    struct alignas(64) Part {  // a cache line each: parts are filled side by side
      std::size_t begin = 0;
      std::size_t end = 0;
      std::size_t next = 0;
      std::vector<Row> more;  // past the expected end
      TextArena* arena = nullptr;
    };
    Batch batch_;
    std::vector<Part> parts_;
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
    if (row < rows_.size()) rows_[row].checked = checked ? 1 : 0, ++generation_;
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
  // Deletes every row whose content is empty, then renumbers; returns how
  // many went. Rows from `among` on are known to have content (rows just
  // taken in) and are not looked at.
  // `follow`, when given, is a row's index: afterwards it is that row's new
  // index, or, when that row went, the index of the first kept row after it.
  std::size_t DeleteBlankRows(std::size_t among = static_cast<std::size_t>(-1), std::size_t* follow = nullptr);
  void ClearColumn(std::size_t column);
  void SetAllChecked(bool checked);
  // Rows whose content contains the text (case-sensitive), in table order.
  std::vector<std::size_t> FindContent(std::string_view text) const;

 private:
  static constexpr char kSeparator = '\xFF';

  // Rewritten rows leave their old text behind; past this much, and past
  // half of what the arenas hold, the texts move into one new arena.
  static constexpr std::size_t kCompactAfterBytes = std::size_t{32} << 20;

  // A row's text: its cells after the number, joined.
  static void Join(std::string& out, std::string_view content, std::string_view skip, std::string_view pause,
                   std::string_view hotkey);
  // A row with room for `size` bytes of text in the arena.
  static Row Allocate(TextArena& arena, std::size_t size);
  // A row whose text is a copy of `text` in the arena.
  static Row Place(TextArena& arena, std::string_view text);
  // Writes a row's text (its cells after the number) into the arena.
  static Row Store(TextArena& arena, std::string_view content, std::string_view skip = {},
                   std::string_view pause = {}, std::string_view hotkey = {});
  // Rewrites a row's text: where it is when it fits, else anew.
  void Restore(Row& row, std::string_view content, std::string_view skip, std::string_view pause,
               std::string_view hotkey);
  std::size_t HeldBytes() const;
  void Compact();
  // The row's content, skip, pause and hotkey cells.
  static std::array<std::string_view, kColumns - 1> TextCells(const Row& row);
  // The number of the row at `row`, as text that stays valid for a while
  // (a few more number reads).
  std::string_view NumberOf(std::size_t row) const;

  Arenas arenas_{std::make_shared<TextArena>()};  // arenas_[0] holds the rows written one by one
  std::vector<Row> rows_;
  // Numbers other than the row's position, by row.
  std::map<std::size_t, std::string> numbers_;
  mutable std::array<std::array<char, 24>, 16> number_texts_{};
  mutable std::size_t next_number_text_ = 0;
  std::string scratch_;         // a row's text being rewritten
  std::size_t abandoned_ = 0;  // bytes of the arenas no row uses any more
  std::uint64_t generation_ = 0;
};

}  // namespace tovan::table
