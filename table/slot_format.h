// The layouts of the slot files and the check-state file: reading them
// into rows, pure and thread-safe, so that large files are parsed away
// from the window thread. Texts are UTF-8 (already converted from GBK).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "table/row_store.h"

namespace tovan::table {

// "★", the end of every row in a slot row file and the separator of the
// cells of an extras line.
inline constexpr char kRowEnd[] = "★";

// The pieces of a text split at every occurrence of a separator, as views
// into it; the empty text gives none.
std::vector<std::string_view> SplitViews(std::string_view text, std::string_view separator);

// The rows' contents of a slot row file: the text split at "★", without
// the empty text after the last "★".
std::vector<std::string_view> SlotContents(std::string_view text);

// The skip, pause and hotkey cells that one or more extras files give the
// rows, applied in order over empty cells: line i of a file sets row i;
// its cells, split at "★", are positional (empty ones count), and cells
// past the third, like lines past the last row, change nothing.
class ExtrasOverlay {
 public:
  using Cells = std::array<std::string_view, 3>;
  // The texts must outlive the overlay.
  void Add(std::string_view text);
  Cells CellsOf(std::size_t row) const;
  bool Empty() const { return files_.empty(); }
  // Sets the cells one line of an extras file gives (an empty line, none).
  static void ApplyLine(Cells& cells, std::string_view line);

 private:
  // A text and where each of its lines begins (4 bytes a line: a million
  // rows' extras cost 4 MB beside their text).
  struct File {
    std::string_view text;
    std::vector<std::uint32_t> line_starts;
  };
  static std::string_view Line(const File& file, std::size_t line);
  std::vector<File> files_;
};

// The rows a check-state file checks: 0-based indexes of the listed row
// numbers that exist in a table of `rows` rows, in file order. Empty lines,
// words and numbers of no row check nothing.
std::vector<std::size_t> CheckedRows(std::string_view text, std::size_t rows);

// The texts a slot's two files hold for the table's rows: the row file
// (every content followed by "★") and the extras file (skip, pause and
// hotkey joined by "★", every line ended by "\r\n").
// Rows [from, to) are appended.
void AppendSlotTexts(const RowStore& rows, std::size_t from, std::size_t to, std::string& row_text,
                     std::string& extras_text);

// Adds rows with these contents and the overlay's cells, the first being
// row `first_row` of the slot.
void AddSlotRows(RowStore::Batch& batch, const std::vector<std::string_view>& contents, std::size_t first_row,
                 const ExtrasOverlay& extras);

// The rows of a slot, ready for the table: contents, cells from the
// overlay, checks from a check-state text.
RowStore::Batch BuildSlotRows(std::string_view row_text, const ExtrasOverlay& extras, std::string_view check_text);

}  // namespace tovan::table
