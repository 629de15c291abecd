#include "table/import_cut.h"

#include <string>

#include "runtime/text.h"

namespace tovan::table {
namespace {

// Calls `piece` with every non-empty piece of the text split at `cut`.
template <class Piece>
void ForEachPiece(std::string_view text, std::string_view cut, Piece piece) {
  std::size_t done = 0;
  while (done <= text.size()) {
    std::size_t at = text.find(cut, done);
    if (at == std::string_view::npos) at = text.size();
    if (at > done) piece(text.substr(done, at - done));
    done = at + cut.size();
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

PreparedCut PrepareCut(ImportMode mode, std::string_view text, std::string_view separator) {
  switch (mode) {
    case ImportMode::kSeparator: {
      const std::string s = separator.empty() ? std::string("\r\n") : std::string(separator);
      std::string cut = s + "\r\n";
      return {rt::ReplaceAll(text, s, cut), cut};
    }
    case ImportMode::kTabs:
    case ImportMode::kSpaces:
      return {rt::ReplaceAll(text, mode == ImportMode::kTabs ? "\t" : " ", "\r\n"), "\r\n"};
    default: return {std::string(text), {}};
  }
}

std::size_t CountRows(const PreparedCut& prepared) {
  std::size_t rows = 0;
  ForEachPiece(prepared.text, prepared.cut, [&](std::string_view) { ++rows; });
  return rows;
}

void AddRows(RowStore::Batch& batch, const PreparedCut& prepared) {
  ForEachPiece(prepared.text, prepared.cut, [&](std::string_view piece) { batch.Add(piece); });
}

RowStore::Batch CutIntoRows(ImportMode mode, std::string_view text, std::string_view separator) {
  RowStore::Batch batch;
  if (mode == ImportMode::kSingle) {
    batch.Add(text);
  } else if (mode != ImportMode::kNone) {
    AddRows(batch, PrepareCut(mode, text, separator));
  }
  return batch;
}

RowStore::Batch CutCopiedText(ImportMode mode, std::string_view text, std::string_view separator) {
  RowStore::Batch batch;
  if (mode == ImportMode::kNone || mode == ImportMode::kSingle) return batch;
  PreparedCut prepared = mode == ImportMode::kSeparator && separator.empty()
                             ? PreparedCut{std::string(text), "\r\n"}
                             : PrepareCut(mode, text, separator);
  for (int pass = 0; pass < 10; ++pass) prepared.text = rt::ReplaceAll(prepared.text, "\r\n\r\n", "\r\n");
  AddRows(batch, prepared);
  return batch;
}

std::size_t HalvesCutAt(std::string_view gbk) {
  const std::size_t line_end = gbk.find("\r\n", gbk.size() / 2);
  return line_end == std::string_view::npos ? 0 : line_end + 2;
}

}  // namespace tovan::table
