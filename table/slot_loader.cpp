#include "table/slot_loader.h"

#include <limits>

#include "runtime/gbk.h"
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
// (just after a byte below 0x40, which is never part of a pair). The end of
// the bytes where there is none.
std::size_t AfterRowEndFrom(std::string_view bytes, std::size_t from) {
  std::size_t at = from;
  while (at < bytes.size() && static_cast<unsigned char>(bytes[at]) >= 0x40) ++at;
  for (++at; at < bytes.size();) {  // "at" past the end stops the walk too
    if (RowEndAt(bytes, at)) return at + 2;
    at += rt::GbkCharLength(bytes, at);
  }
  return bytes.size();
}

// How many rows whole GBK rows hold: their "★", as the decoder reads them.
std::size_t CountRows(std::string_view bytes) {
  std::size_t rows = 0;
  for (std::size_t at = 0; at < bytes.size();) {
    if (RowEndAt(bytes, at)) {
      ++rows;
      at += 2;
    } else {
      at += rt::GbkCharLength(bytes, at);
    }
  }
  return rows;
}

// Converts GBK rows piece by piece into rows of the batch, the first being
// row `first_row` of the slot: only one piece of text is held at a time.
void AddRowsInPieces(RowStore::Batch& batch, std::string_view bytes, std::size_t first_row,
                     const ExtrasOverlay& extras, std::size_t piece_bytes) {
  std::size_t row = first_row;
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t end = AfterRowEndFrom(bytes, at + piece_bytes);
    const std::string text = rt::FromGbk(bytes.substr(at, end - at));
    const std::vector<std::string_view> contents = SlotContents(text);
    AddSlotRows(batch, contents, row, extras);
    row += contents.size();
    at = end;
  }
}

}  // namespace

RowStore::Batch LoadSlotRows(rt::Worker& worker, const rt::Files& files, const std::string& row_path,
                             const std::vector<std::string>& extras_paths, const std::string& check_text,
                             std::size_t piece_bytes) {
  std::string bytes;
  std::vector<std::string> extras_bytes(extras_paths.size());
  worker.Run([&] {
    bytes = files.Read(row_path);
    for (std::size_t i = 0; i < extras_paths.size(); ++i) extras_bytes[i] = files.Read(extras_paths[i]);
  });

  // Two halves of whole rows, each built on a core of its own. First the
  // first half's rows are counted (the second half's rows are numbered on
  // from them) while the extras and the checks are read beside.
  const std::size_t middle = AfterRowEndFrom(bytes, bytes.size() / 2);
  const std::string_view first(std::string_view(bytes).substr(0, middle));
  const std::string_view second(std::string_view(bytes).substr(middle));
  std::size_t first_rows = 0;
  std::vector<std::string> extras_texts(extras_paths.size());
  ExtrasOverlay overlay;
  std::vector<std::size_t> checked;
  worker.RunTogether({[&] { first_rows = CountRows(first); },
                      [&] {
                        for (std::size_t i = 0; i < extras_bytes.size(); ++i) {
                          extras_texts[i] = rt::FromGbk(extras_bytes[i]);
                          std::string().swap(extras_bytes[i]);
                          overlay.Add(extras_texts[i]);
                        }
                        checked = CheckedRows(check_text, std::numeric_limits<std::size_t>::max());
                      }});
  RowStore::Batch batch;
  RowStore::Batch rest;
  worker.RunTogether({[&] { AddRowsInPieces(batch, first, 0, overlay, piece_bytes); },
                      [&] { AddRowsInPieces(rest, second, first_rows, overlay, piece_bytes); }});
  worker.Run([&] {
    batch.Append(std::move(rest));
    for (std::size_t row : checked) batch.SetChecked(row);
    std::string().swap(bytes);
  });
  return batch;
}

}  // namespace tovan::table
