// A dropped file of any bytes decoded and cut into rows in every import mode;
// and, as a large spreadsheet file is (here at any size), in two halves,
// giving the very rows of one cut.
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/gbk.h"
#include "runtime/text_file.h"
#include "runtime/utf8.h"
#include "table/import_cut.h"

using namespace tovan;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte picks the separator's length; it is taken from the text.
  const std::string text = rt::DecodeTextFile(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
  for (std::size_t at = 0; at < text.size();) {
    bool valid = true;
    rt::DecodeUtf8(text, at, valid);
    if (!valid) __builtin_trap();  // the program's text is always valid UTF-8
  }
  const std::string separator = text.substr(0, data[0] % 4);
  for (auto mode : {table::ImportMode::kSingle, table::ImportMode::kSeparator, table::ImportMode::kTabs,
                    table::ImportMode::kSpaces}) {
    table::RowStore rows;
    rows.Adopt(table::CutIntoRows(mode, text, separator));
    if (mode == table::ImportMode::kSingle) {
      if (rows.RowCount() != 1 || rows.Cell(0, table::kContent) != text) __builtin_trap();
      continue;
    }
    const table::PreparedCut prepared = table::PrepareCut(mode, text, separator);
    if (table::CountRows(prepared) != rows.RowCount()) __builtin_trap();
    if (rows.DeleteBlankRows() != 0) __builtin_trap();  // no piece gives an empty row
  }
  const std::string_view gbk(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::size_t cut = table::HalvesCutAt(gbk);
  if (cut == 0 || rt::IsUnicodeText(gbk)) return 0;
  for (auto mode : {table::ImportMode::kTabs, table::ImportMode::kSpaces}) {
    table::RowStore whole;
    whole.Adopt(table::CutIntoRows(mode, rt::FromGbk(gbk), ""));
    const table::PreparedCut first = table::PrepareCut(mode, rt::FromGbk(gbk.substr(0, cut)), "");
    const table::PreparedCut second = table::PrepareCut(mode, rt::FromGbk(gbk.substr(cut)), "");
    table::RowStore::Batch batch;
    table::RowStore::Batch rest;
    table::AddRows(batch, first);
    table::AddRows(rest, second);
    batch.Append(std::move(rest));
    table::RowStore halves;
    halves.Adopt(std::move(batch));
    if (halves.RowCount() != whole.RowCount()) __builtin_trap();
    for (std::size_t row = 0; row < whole.RowCount(); ++row)
      if (halves.Cells(row) != whole.Cells(row)) __builtin_trap();
  }
  return 0;
}
