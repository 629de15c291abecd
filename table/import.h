// Rows from dropped text files, cut by the import mode of 导入方式, and the
// separator box 分割符 that the custom-separator mode reads.
#pragma once

#include <deque>
#include <string>
#include <string_view>

#include "runtime/platform.h"
#include "table/busy.h"
#include "table/import_cut.h"
#include "table/row_store.h"
#include "table/table_editor.h"

namespace tovan::table {

class Importer {
 public:
  Importer(rt::Platform platform, RowStore& rows, TableEditor& editor, Busy& busy)
      : p_(platform), rows_(rows), editor_(editor), busy_(busy) {}

  // Binds 拖放对象1, 导入方式 and 分割符.
  void Bind();
  // Imports one dropped file by the current import mode. Several dropped
  // files are imported one after another, in the order of the drop; files
  // dropped while a file action or another import is under way are held
  // and imported, in their order, once it has ended.
  void FileDropped(std::string_view path);

 private:
  void ImportDroppedFile(const std::string& file);
  void ImportHeldDrops();
  // Reads and cuts a file off the window thread; `empty` tells whether it had any text.
  RowStore::Batch Cut(const std::string& file, ImportMode mode, const std::string& separator, bool& empty);

  rt::Platform p_;
  RowStore& rows_;
  TableEditor& editor_;
  Busy& busy_;
  bool importing_ = false;
  std::deque<std::string> held_drops_;
};

}  // namespace tovan::table
