// Reading a slot into rows with both cores: the files are read, converted
// and built into rows in steps whose halves run side by side, off the
// window thread.
#pragma once

#include <string>
#include <vector>

#include "runtime/files.h"
#include "runtime/worker.h"
#include "table/row_store.h"

namespace tovan::table {

// The rows of the slot row file, with the cells of the extras files (in
// order) and the checks of the check-state text.
RowStore::Batch LoadSlotRows(rt::Worker& worker, const rt::Files& files, const std::string& row_path,
                             const std::vector<std::string>& extras_paths, const std::string& check_text);

}  // namespace tovan::table
