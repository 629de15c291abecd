// Cutting a dropped file's text into rows by the import mode: pure and
// thread-safe, so that a large file is cut away from the window thread.
#pragma once

#include <string_view>

#include "table/row_store.h"

namespace tovan::table {

enum class ImportMode {
  kNone,       // the empty item and the pinning items: a drop imports nothing
  kSingle,     // "单次录入": the whole text is one row
  kSeparator,  // "自定义分割符录入": split at the separator
  kTabs,       // "Excel制表符录入": split at tabs and line breaks
  kSpaces,     // "空格分割录入": split at spaces and line breaks
};

ImportMode ImportModeOf(std::string_view item);

// The rows a text gives in a mode. The separator mode puts a line break
// after every separator and splits at separator + line break (an empty
// separator splits at line breaks); the tab and space modes turn every tab
// or space into a line break and split at line breaks. Empty pieces give no
// row except in the single mode, whose one row is the text unchanged.
RowStore::Batch CutIntoRows(ImportMode mode, std::string_view text, std::string_view separator);

// The rows a text copied from another program gives in a splitting mode:
// cut as above, but with runs of empty lines first closed up (ten passes
// of "\r\n\r\n" → "\r\n"). An empty separator splits at line breaks.
RowStore::Batch CutCopiedText(ImportMode mode, std::string_view text, std::string_view separator);

// The same in steps, so that the halves of a large text can be cut side by
// side: the text with line breaks in place of the cuts, how many rows it
// gives, and its rows.
struct PreparedCut {
  std::string text;
  std::string cut;  // what the text is split at
};
PreparedCut PrepareCut(ImportMode mode, std::string_view text, std::string_view separator);
std::size_t CountRows(const PreparedCut& prepared);
void AddRows(RowStore::Batch& batch, const PreparedCut& prepared);

// Where GBK spreadsheet bytes can be cut in two halves that are cut into
// rows apart exactly as the whole would be: just after the first CR LF at
// or past the middle (the cut rules end a line only there, and neither
// byte is ever part of a GBK character); 0 where there is none.
std::size_t HalvesCutAt(std::string_view gbk);

}  // namespace tovan::table
