#include "table/row_store.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace tovan::table {

namespace {

// A separator byte inside a text would shift every later cell; UTF-8 text
// never holds one, and anything else is cut there.
std::string_view Clean(std::string_view text, char separator) { return text.substr(0, text.find(separator)); }

// Rows get a little room to grow in place: a skip count or a pause word
// written later mostly fits.
std::size_t RoomFor(std::size_t size) { return (size + 3) & ~std::size_t{3}; }

}  // namespace

void RowStore::Join(std::string& out, std::string_view content, std::string_view skip, std::string_view pause,
                    std::string_view hotkey) {
  out.assign(Clean(content, kSeparator)).push_back(kSeparator);
  out.append(Clean(skip, kSeparator)).push_back(kSeparator);
  out.append(Clean(pause, kSeparator)).push_back(kSeparator);
  out.append(Clean(hotkey, kSeparator));
}

RowStore::Row RowStore::Allocate(TextArena& arena, std::size_t size) {
  const std::size_t room = RoomFor(size);
  Row row;
  row.text = arena.Allocate(room);
  row.size = static_cast<std::uint32_t>(size);
  row.room = static_cast<std::uint32_t>(room);
  return row;
}

RowStore::Row RowStore::Place(TextArena& arena, std::string_view text) {
  const Row row = Allocate(arena, text.size());
  std::memcpy(const_cast<char*>(row.text), text.data(), text.size());
  return row;
}

RowStore::Row RowStore::Store(TextArena& arena, std::string_view content, std::string_view skip,
                              std::string_view pause, std::string_view hotkey) {
  // Written straight into the arena (rows are built by the million).
  const std::string_view cells[] = {Clean(content, kSeparator), Clean(skip, kSeparator), Clean(pause, kSeparator),
                                    Clean(hotkey, kSeparator)};
  std::size_t size = std::size(cells) - 1;
  for (std::string_view cell : cells) size += cell.size();
  const Row row = Allocate(arena, size);
  char* at = const_cast<char*>(row.text);
  for (std::size_t i = 0; i < std::size(cells); ++i) {
    if (i > 0) *at++ = kSeparator;
    if (cells[i].empty()) continue;  // an empty view may hold no pointer at all
    std::memcpy(at, cells[i].data(), cells[i].size());
    at += cells[i].size();
  }
  return row;
}

void RowStore::Restore(Row& row, std::string_view content, std::string_view skip, std::string_view pause,
                       std::string_view hotkey) {
  // Joined beside first: the cells may be views into the row itself.
  Join(scratch_, content, skip, pause, hotkey);
  if (scratch_.size() <= row.room) {
    std::memcpy(const_cast<char*>(row.text), scratch_.data(), scratch_.size());
    row.size = static_cast<std::uint32_t>(scratch_.size());
    return;
  }
  const bool checked = row.checked;
  abandoned_ += row.room;
  row = Place(*arenas_[0], scratch_);
  row.checked = checked;
  if (abandoned_ > kCompactAfterBytes && abandoned_ * 2 > HeldBytes()) Compact();
}

std::size_t RowStore::HeldBytes() const {
  std::size_t held = 0;
  for (const auto& arena : arenas_) held += arena->Held();
  return held;
}

void RowStore::Compact() {
  auto arena = std::make_shared<TextArena>();
  for (Row& row : rows_) {
    const bool checked = row.checked;
    row = Place(*arena, {row.text, row.size});
    row.checked = checked;
  }
  arenas_ = {std::move(arena)};
  abandoned_ = 0;
}

std::array<std::string_view, kColumns - 1> RowStore::TextCells(const Row& row) {
  std::array<std::string_view, kColumns - 1> cells{};
  std::string_view rest(row.text, row.size);
  for (std::size_t column = 0; column < cells.size(); ++column) {
    const std::size_t end = rest.find(kSeparator);
    cells[column] = rest.substr(0, end);
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return cells;
}

std::string_view RowStore::NumberOf(std::size_t row) const {
  if (const auto it = numbers_.find(row); it != numbers_.end()) return it->second;
  std::array<char, 24>& digits = number_texts_[next_number_text_++ % number_texts_.size()];
  const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), row + 1);
  return std::string_view(digits.data(), static_cast<std::size_t>(result.ptr - digits.data()));
}

RowStore::Parts::Parts(const std::vector<std::size_t>& sizes) : parts_(sizes.size()) {
  std::size_t total = 0;
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    parts_[i].begin = parts_[i].next = total;
    total += sizes[i];
    parts_[i].end = total;
    batch_.arenas_.push_back(std::make_shared<TextArena>());
    parts_[i].arena = batch_.arenas_.back().get();
  }
  batch_.rows_.reserve(total + 1);  // a last row may come without its end
  batch_.rows_.resize(total);
}

void RowStore::Parts::Add(std::size_t part, std::string_view content, std::string_view skip, std::string_view pause,
                          std::string_view hotkey) {
  Part& p = parts_[part];
  const Row row = Store(*p.arena, content, skip, pause, hotkey);
  if (p.next < p.end)
    batch_.rows_[p.next++] = row;
  else
    p.more.push_back(row);
}

RowStore::Batch RowStore::Parts::Join() && {
  // Each part's rows move down to just after the rows before them; rows a
  // part got past its expected end go in after its own.
  std::vector<Row>& rows = batch_.rows_;
  std::size_t out = 0;
  std::size_t shift = 0;  // rows put in so far past the parts' expected ends
  for (Part& p : parts_) {
    const std::size_t begin = p.begin + shift;
    const std::size_t count = p.next - p.begin;
    if (out != begin) std::copy(rows.begin() + begin, rows.begin() + begin + count, rows.begin() + out);
    out += count;
    if (!p.more.empty()) {
      rows.insert(rows.begin() + out, p.more.begin(), p.more.end());
      out += p.more.size();
      shift += p.more.size();
    }
  }
  rows.resize(out);
  return std::move(batch_);
}

void RowStore::Batch::Add(std::string_view content, std::string_view skip, std::string_view pause,
                          std::string_view hotkey) {
  rows_.push_back(Store(*arenas_[0], content, skip, pause, hotkey));
}

void RowStore::Adopt(Batch&& batch) {
  ++generation_;
  const std::size_t before = rows_.size();
  if (before == 0) {
    rows_.swap(batch.rows_);
  } else {
    rows_.insert(rows_.end(), batch.rows_.begin(), batch.rows_.end());
  }
  batch.rows_.clear();
  arenas_.insert(arenas_.end(), batch.arenas_.begin(), batch.arenas_.end());
  // The batch's rows take the numbers of their new places.
  numbers_.erase(numbers_.lower_bound(before), numbers_.end());
}

RowStore::Batch RowStore::TakeAll() {
  ++generation_;
  Batch taken;
  taken.rows_.swap(rows_);
  taken.arenas_.swap(arenas_);
  arenas_ = {std::make_shared<TextArena>()};
  numbers_.clear();
  return taken;
}

void RowStore::SetExtras(std::size_t row, std::string_view skip, std::string_view pause, std::string_view hotkey) {
  ++generation_;
  if (row >= rows_.size()) return;
  Restore(rows_[row], TextCells(rows_[row])[0], skip, pause, hotkey);
}

std::string_view RowStore::Cell(std::size_t row, std::size_t column) const {
  if (row >= rows_.size() || column >= kColumns) return {};
  if (column == kNumber) return NumberOf(row);
  return TextCells(rows_[row])[column - 1];
}

std::array<std::string_view, kColumns> RowStore::Cells(std::size_t row) const {
  std::array<std::string_view, kColumns> cells{};
  if (row >= rows_.size()) return cells;
  cells[kNumber] = NumberOf(row);
  const auto text = TextCells(rows_[row]);
  std::copy(text.begin(), text.end(), cells.begin() + 1);
  return cells;
}

void RowStore::SetCell(std::size_t row, std::size_t column, std::string_view text) {
  ++generation_;
  if (row >= rows_.size() || column >= kColumns) return;
  if (column == kNumber) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, row + 1);
    const std::string_view own(digits, static_cast<std::size_t>(result.ptr - digits));
    text = Clean(text, kSeparator);
    if (text == own) {
      numbers_.erase(row);
    } else {
      numbers_[row] = std::string(text);
    }
    return;
  }
  auto cells = TextCells(rows_[row]);
  cells[column - 1] = text;
  Restore(rows_[row], cells[0], cells[1], cells[2], cells[3]);
}

std::size_t RowStore::Append(std::string_view number, std::string_view content) {
  ++generation_;
  rows_.push_back(Store(*arenas_[0], content));
  const std::size_t row = rows_.size() - 1;
  if (number != NumberOf(row)) SetCell(row, kNumber, number);
  return row;
}

void RowStore::Delete(std::size_t row) {
  ++generation_;
  if (row >= rows_.size()) return;
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
  // Numbers written into later rows move up with them.
  numbers_.erase(row);
  std::map<std::size_t, std::string> moved;
  for (auto it = numbers_.upper_bound(row); it != numbers_.end();) {
    moved.emplace(it->first - 1, std::move(it->second));
    it = numbers_.erase(it);
  }
  numbers_.merge(moved);
}

void RowStore::Renumber(std::size_t from) {
  ++generation_;
  numbers_.erase(numbers_.lower_bound(from), numbers_.end());
}

std::size_t RowStore::DeleteBlankRows(std::size_t among, std::size_t* follow) {
  ++generation_;
  const auto blank = [](const Row& row) { return row.size == 0 || row.text[0] == kSeparator; };
  // Rows before the first blank one keep their places and numbers.
  const auto end = rows_.begin() + static_cast<std::ptrdiff_t>(std::min(among, rows_.size()));
  const auto first = std::find_if(rows_.begin(), end, blank);
  if (first == end) return 0;
  const std::size_t from = static_cast<std::size_t>(first - rows_.begin());
  const std::size_t before = rows_.size();
  if (follow && *follow > from)
    *follow -= static_cast<std::size_t>(
        std::count_if(first, rows_.begin() + static_cast<std::ptrdiff_t>(std::min(*follow, std::min(among, before))), blank));
  rows_.erase(std::remove_if(first, end, blank), end);
  Renumber(from);
  return before - rows_.size();
}

void RowStore::ClearColumn(std::size_t column) {
  for (std::size_t row = 0; row < rows_.size(); ++row) SetCell(row, column, {});
}

void RowStore::Clear() {
  ++generation_;
  rows_.clear();
  arenas_ = {std::make_shared<TextArena>()};
  numbers_.clear();
}

void RowStore::SetAllChecked(bool checked) {
  ++generation_;
  for (Row& row : rows_) row.checked = checked ? 1 : 0;
}

std::vector<std::size_t> RowStore::FindContent(std::string_view text) const {
  std::vector<std::size_t> found;
  if (text.empty()) return found;
  for (std::size_t row = 0; row < rows_.size(); ++row)
    if (TextCells(rows_[row])[0].find(text) != std::string_view::npos) found.push_back(row);
  return found;
}

}  // namespace tovan::table
