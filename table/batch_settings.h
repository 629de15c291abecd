// Setting a whole column at once from 组合框63: every row's skip count, a
// pause every n rows, or a check pattern, on the column the last click into
// the table chose (跳格暂停). Picking a value also resets the Excel cell cursor.
#pragma once

#include "runtime/platform.h"
#include "table/row_store.h"
#include "table/table_editor.h"

namespace tovan::table {

class BatchSettings {
 public:
  BatchSettings(rt::Platform platform, RowStore& rows, TableEditor& editor)
      : p_(platform), rows_(rows), editor_(editor) {}

  // Binds 组合框63 and 按钮6 ("复原").
  void Bind();
  void ApplyBatch();
  // The cursor's addresses back to A1 … J1, every flag set.
  void ResetCellCursor();

 private:
  rt::Platform p_;
  RowStore& rows_;
  TableEditor& editor_;
};

}  // namespace tovan::table
