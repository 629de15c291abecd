// A slot row file, an extras file and a check-state file of any bytes: read
// into rows, then written back as the texts a save would write (the same
// bytes, for a row file ending in "★"); and read in two halves, as opening
// a slot does, giving the very rows of one reading.
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/gbk.h"
#include "runtime/sim/memory_files.h"
#include "table/slot_format.h"
#include "table/slot_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // The first byte says where the row file ends and the extras file starts;
  // the rest of the extras file doubles as a check-state file.
  const std::size_t split = size == 0 ? 0 : (data[0] * size) / 256;
  const std::string rows = tovan::rt::FromGbk(bytes.substr(0, split));
  const std::string extras = tovan::rt::FromGbk(bytes.substr(split));
  tovan::table::ExtrasOverlay overlay;
  overlay.Add(extras);
  overlay.Add(rows);
  tovan::table::RowStore store;
  store.Adopt(tovan::table::BuildSlotRows(rows, overlay, extras));
  std::string row_text;
  std::string extras_text;
  tovan::table::AppendSlotTexts(store, 0, store.RowCount(), row_text, extras_text);
  const tovan::rt::GbkResult gbk = tovan::rt::ToGbk(row_text);
  // A row file that ends in "★" (or is empty) is written back byte for
  // byte, without a question, whatever its bytes; one cut short at its end
  // may lose only what the cut left.
  if ((rows.empty() || rows.ends_with("\u2605")) && (!gbk.lossless || gbk.bytes != bytes.substr(0, split)))
    __builtin_trap();
  if (tovan::table::SlotContents(row_text).size() != store.RowCount()) __builtin_trap();

  // The rows an open counts are the rows the text holds.
  std::size_t stars = 0;
  for (std::size_t at = rows.find("\u2605"); at != std::string::npos; at = rows.find("\u2605", at + 3)) ++stars;
  if (tovan::rt::CountGbkCharacter(bytes.substr(0, split), 0xA1EF) != stars) __builtin_trap();

  // Opened in two halves, converted in pieces of a few bytes (so that the
  // input's size reaches several), with both files' extras read alongside:
  // the same rows, cells and checks.
  const tovan::rt::MemoryFiles files({{"r", std::string(bytes.substr(0, split))}, {"e", std::string(bytes.substr(split))}});
  tovan::rt::InlineWorker worker;
  tovan::table::RowStore halves;
  halves.Adopt(tovan::table::LoadSlotRows(worker, files, "r", {"e", "r"}, extras, 1 + size % 61));
  if (halves.RowCount() != store.RowCount()) __builtin_trap();
  for (std::size_t row = 0; row < store.RowCount(); ++row)
    if (halves.Cells(row) != store.Cells(row) || halves.Checked(row) != store.Checked(row)) __builtin_trap();
  return 0;
}
