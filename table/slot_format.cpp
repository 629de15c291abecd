#include "table/slot_format.h"

#include "runtime/text.h"

namespace tovan::table {

std::vector<std::string_view> SplitViews(std::string_view text, std::string_view separator) {
  std::vector<std::string_view> pieces;
  if (text.empty()) return pieces;
  if (separator.empty()) return {text};
  std::size_t done = 0;
  for (std::size_t at = text.find(separator); at != std::string_view::npos; at = text.find(separator, done)) {
    pieces.push_back(text.substr(done, at - done));
    done = at + separator.size();
  }
  pieces.push_back(text.substr(done));
  return pieces;
}

std::vector<std::string_view> SlotContents(std::string_view text) {
  std::vector<std::string_view> pieces = SplitViews(text, kRowEnd);
  if (!pieces.empty() && pieces.back().empty()) pieces.pop_back();
  return pieces;
}

void ExtrasOverlay::Add(std::string_view text) {
  File file{text, {}};
  // Files past 4 GB are never read (Files::kMaxReadBytes): offsets fit.
  if (!text.empty()) {
    file.line_starts.push_back(0);
    for (std::size_t at = text.find("\r\n"); at != std::string_view::npos; at = text.find("\r\n", at + 2))
      file.line_starts.push_back(static_cast<std::uint32_t>(at + 2));
  }
  files_.push_back(std::move(file));
}

std::string_view ExtrasOverlay::Line(const File& file, std::size_t line) {
  const std::size_t begin = file.line_starts[line];
  const std::size_t end = line + 1 < file.line_starts.size() ? file.line_starts[line + 1] - 2 : file.text.size();
  return file.text.substr(begin, end - begin);
}

void ExtrasOverlay::ApplyLine(Cells& cells, std::string_view line) {
  if (line.empty()) return;
  for (std::size_t j = 0; j < cells.size(); ++j) {
    const std::size_t end = line.find(kRowEnd);
    cells[j] = line.substr(0, end);
    if (end == std::string_view::npos) break;
    line.remove_prefix(end + sizeof kRowEnd - 1);
  }
}

ExtrasOverlay::Cells ExtrasOverlay::CellsOf(std::size_t row) const {
  Cells cells{};
  for (const File& file : files_)
    if (row < file.line_starts.size()) ApplyLine(cells, Line(file, row));
  return cells;
}

std::vector<std::size_t> CheckedRows(std::string_view text, std::size_t rows) {
  std::vector<std::size_t> checked;
  for (std::string_view line : SplitViews(text, "\r\n")) {
    const std::int64_t number = rt::ToInteger(line);
    if (number >= 1 && static_cast<std::size_t>(number) <= rows) checked.push_back(static_cast<std::size_t>(number - 1));
  }
  return checked;
}

void AppendSlotTexts(const RowStore& rows, std::size_t from, std::size_t to, std::string& row_text,
                     std::string& extras_text) {
  for (std::size_t row = from; row < to && row < rows.RowCount(); ++row) {
    const auto cells = rows.Cells(row);
    row_text.append(cells[kContent]).append(kRowEnd);
    extras_text.append(cells[kSkip]).append(kRowEnd).append(cells[kPause]).append(kRowEnd);
    extras_text.append(cells[kHotkey]).append("\r\n");
  }
}

void AddSlotRows(RowStore::Batch& batch, const std::vector<std::string_view>& contents, std::size_t first_row,
                 const ExtrasOverlay& extras) {
  for (std::size_t i = 0; i < contents.size(); ++i) {
    const ExtrasOverlay::Cells cells = extras.CellsOf(first_row + i);
    batch.Add(contents[i], cells[0], cells[1], cells[2]);
  }
}

RowStore::Batch BuildSlotRows(std::string_view row_text, const ExtrasOverlay& extras, std::string_view check_text) {
  const std::vector<std::string_view> contents = SlotContents(row_text);
  RowStore::Batch batch;
  batch.Reserve(contents.size());
  AddSlotRows(batch, contents, 0, extras);
  for (std::size_t row : CheckedRows(check_text, contents.size())) batch.SetChecked(row);
  return batch;
}

}  // namespace tovan::table
