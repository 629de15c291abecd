#include "table/slot_loader.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "runtime/gbk.h"
#include "table/extras_lines.h"
#include "table/slot_format.h"

namespace tovan::table {
namespace {

bool RowEndAt(std::string_view bytes, std::size_t at) {
  return at + 1 < bytes.size() && static_cast<unsigned char>(bytes[at]) == 0xA1 &&
         static_cast<unsigned char>(bytes[at + 1]) == 0xEF;
}

// Where GBK slot bytes can be cut so that both sides are whole rows: just
// after the first "★" (A1 EF) at or past `from`, found by walking the
// characters as the decoder reads them from a place where one surely starts
// (just after a byte below 0x40, which is never part of a pair). 0 where
// there is none.
std::size_t AfterRowEndFrom(std::string_view bytes, std::size_t from) {
  std::size_t at = from;
  while (at < bytes.size() && static_cast<unsigned char>(bytes[at]) >= 0x40) ++at;
  for (++at; at < bytes.size();) {  // "at" past the end stops the walk too
    if (RowEndAt(bytes, at)) return at + 2;
    at += rt::GbkCharLength(bytes, at);
  }
  return 0;
}

// Just after the last "★" of bytes that start with a character, walking
// them all; 0 where there is none.
std::size_t AfterLastRowEnd(std::string_view bytes) {
  std::size_t last = 0;
  for (std::size_t at = 0; at < bytes.size();) {
    if (RowEndAt(bytes, at)) {
      at += 2;
      last = at;
    } else {
      at += rt::GbkCharLength(bytes, at);
    }
  }
  return last;
}

// How many "★" whole GBK rows hold, as the decoder reads them.
std::size_t CountRowEnds(std::string_view bytes) { return rt::CountGbkCharacter(bytes, 0xA1EF); }

// Reads the file's bytes [begin, end), which start with a row, a piece of
// about `piece_bytes` at a time, and gives `take` each run of whole rows
// (the last run may end without its "★"). Only a piece or two is held.
template <class Take>
void ForEachRun(const rt::Files& files, const std::string& path, std::uint64_t begin, std::uint64_t end,
                std::size_t piece_bytes, Take take) {
  const std::unique_ptr<rt::Files::Pieces> pieces = files.OpenPieces(path);
  std::string held;
  for (std::uint64_t at = begin; at < end;) {
    std::string piece =
        pieces->Read(at, static_cast<std::size_t>(std::min<std::uint64_t>(piece_bytes, end - at)));
    if (piece.empty()) break;  // the file changed or failed: what was read is kept
    at += piece.size();
    if (held.empty())
      held = std::move(piece);
    else
      held += piece;
    if (at >= end) break;
    // A cut near the end of what is held (found from a sure character start
    // there), else after its last row end (walking it from its start, where
    // a character starts), else none yet.
    std::size_t cut = AfterRowEndFrom(held, held.size() - std::min(held.size(), piece_bytes / 4 + 4));
    if (cut == 0) cut = AfterLastRowEnd(held);
    if (cut == 0) continue;
    take(std::string_view(held).substr(0, cut));
    held.erase(0, cut);
  }
  if (!held.empty()) take(std::string_view(held));
}

// Converts the rows of the file's bytes [begin, end) run by run into rows
// of part `part`, with the cells of the extras files' lines read alongside
// (each file from `extras_from`, the line of the part's first row).
void AddRowsInRuns(RowStore::Parts& parts, std::size_t part, const rt::Files& files, const std::string& path,
                   std::uint64_t begin, std::uint64_t end, const std::vector<std::string>& extras_paths,
                   const std::vector<std::uint64_t>& extras_from, std::size_t piece_bytes) {
  std::vector<ExtrasLines> extras;
  for (std::size_t i = 0; i < extras_paths.size(); ++i)
    extras.emplace_back(files, extras_paths[i], extras_from[i], piece_bytes);
  ForEachRun(files, path, begin, end, piece_bytes, [&](std::string_view run) {
    const std::string text = rt::FromGbk(run);
    for (std::string_view content : SlotContents(text)) {
      ExtrasOverlay::Cells cells{};
      for (ExtrasLines& lines : extras) ExtrasOverlay::ApplyLine(cells, lines.Next());
      parts.Add(part, content, cells[0], cells[1], cells[2]);
    }
  });
}

}  // namespace

RowStore::Batch LoadSlotRows(rt::Worker& worker, const rt::Files& files, const std::string& row_path,
                             const std::vector<std::string>& extras_paths, const std::string& check_text,
                             std::size_t piece_bytes) {
  // The middle of the rows: just after a row end near the middle of the
  // file. Found here (a size and one piece read), as the halves are joined
  // here at the end: every hand-over between threads costs time on a busy
  // machine.
  const std::uint64_t size = files.SizeOf(row_path);
  const std::uint64_t half = size / 2;
  const std::size_t cut = AfterRowEndFrom(files.ReadPiece(row_path, half, piece_bytes), 0);
  const std::uint64_t middle = cut == 0 ? size : half + cut;

  // Both halves' rows are counted (each half's rows go right into their
  // places), then where the second half's extras lines begin is found; the
  // checks are read beside.
  std::size_t first_rows = 0;
  std::size_t second_rows = 0;
  std::vector<std::uint64_t> second_extras(extras_paths.size());
  std::vector<std::size_t> checked;
  worker.RunTogether({[&] {
                        ForEachRun(files, row_path, 0, middle, piece_bytes,
                                   [&](std::string_view run) { first_rows += CountRowEnds(run); });
                        for (std::size_t i = 0; i < extras_paths.size(); ++i)
                          second_extras[i] = OffsetOfLine(files, extras_paths[i], first_rows, piece_bytes);
                      },
                      [&] {
                        ForEachRun(files, row_path, middle, size, piece_bytes,
                                   [&](std::string_view run) { second_rows += CountRowEnds(run); });
                        checked = CheckedRows(check_text, std::numeric_limits<std::size_t>::max());
                      }});

  // Each half built into rows on a core of its own, a run at a time.
  RowStore::Parts parts({first_rows, second_rows});
  const std::vector<std::uint64_t> first_extras(extras_paths.size(), 0);
  worker.RunTogether(
      {[&] { AddRowsInRuns(parts, 0, files, row_path, 0, middle, extras_paths, first_extras, piece_bytes); },
       [&] { AddRowsInRuns(parts, 1, files, row_path, middle, size, extras_paths, second_extras, piece_bytes); }});
  RowStore::Batch batch = std::move(parts).Join();
  for (std::size_t row : checked) batch.SetChecked(row);
  return batch;
}

}  // namespace tovan::table
