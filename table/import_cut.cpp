#include "table/import_cut.h"

#include <string>

#include "runtime/text.h"

namespace tovan::table {
namespace {

// Adds every non-empty piece of the text split at `separator`.
void AddPieces(RowStore::Batch& batch, std::string_view text, std::string_view separator) {
  std::size_t done = 0;
  while (done <= text.size()) {
    std::size_t at = text.find(separator, done);
    if (at == std::string_view::npos) at = text.size();
    if (at > done) batch.Add(text.substr(done, at - done));
    done = at + separator.size();
  }
}

}  // namespace

ImportMode ImportModeOf(std::string_view item) {
  if (item == "单次录入") return ImportMode::kSingle;
  if (item == "自定义分割符录入") return ImportMode::kSeparator;
  if (item == "Excel制表符录入") return ImportMode::kTabs;
  if (item == "空格分割录入") return ImportMode::kSpaces;
  return ImportMode::kNone;
}

RowStore::Batch CutIntoRows(ImportMode mode, std::string_view text, std::string_view separator,
                            std::size_t first_number) {
  RowStore::Batch batch(first_number);
  switch (mode) {
    case ImportMode::kNone: break;
    case ImportMode::kSingle: batch.Add(text); break;
    case ImportMode::kSeparator: {
      const std::string s = separator.empty() ? std::string("\r\n") : std::string(separator);
      const std::string cut = s + "\r\n";
      AddPieces(batch, rt::ReplaceAll(text, s, cut), cut);
      break;
    }
    case ImportMode::kTabs:
    case ImportMode::kSpaces:
      AddPieces(batch, rt::ReplaceAll(text, mode == ImportMode::kTabs ? "\t" : " ", "\r\n"), "\r\n");
      break;
  }
  return batch;
}

}  // namespace tovan::table
