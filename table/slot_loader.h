// Reading a slot into rows with both cores: the files are read, then each
// half is converted and built into rows side by side, off the window
// thread, a piece at a time, so that the slot's whole text is never held.
#pragma once

#include <string>
#include <vector>

#include "runtime/files.h"
#include "runtime/worker.h"
#include "table/row_store.h"

namespace tovan::table {

inline constexpr std::size_t kSlotPieceBytes = std::size_t{256} << 10;

// The rows of the slot row file, with the cells of the extras files (in
// order) and the checks of the check-state text; the rows are converted
// in pieces of about `piece_bytes`.
RowStore::Batch LoadSlotRows(rt::Worker& worker, const rt::Files& files, const std::string& row_path,
                             const std::vector<std::string>& extras_paths, const std::string& check_text,
                             std::size_t piece_bytes = kSlotPieceBytes);

}  // namespace tovan::table
