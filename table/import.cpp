#include "table/import.h"

#include "runtime/gbk.h"
#include "runtime/text_file.h"
#include "table/import_cut.h"

namespace tovan::table {
namespace {

constexpr char kMode[] = "导入方式";
constexpr char kSeparatorBox[] = "分割符";

}  // namespace

void Importer::Bind() {
  using rt::Event;
  using rt::EventKind;
  p_.ui.Bind("拖放对象1", EventKind::kDropped, [this](const Event& e) {
    for (const std::string& path : e.files) FileDropped(path);
  });
  busy_.WhenIdle([this] { p_.ui.RunSoon([this] { ImportHeldDrops(); }); });
  p_.ui.Bind(kMode, EventKind::kSelectionChanged, [this](const Event&) {
    if (ImportModeOf(p_.ui[kMode].Text()) == ImportMode::kSeparator) p_.ui[kSeparatorBox].SetText("");
  });
  p_.ui.Bind(kSeparatorBox, EventKind::kMouseDown, [this](const Event&) { p_.ui.Hint("●设置分割字符", kSeparatorBox, 30, 30); });
  p_.ui.Bind(kSeparatorBox, EventKind::kDoubleClicked, [this](const Event&) { p_.ui[kSeparatorBox].SetText(""); });
}

RowStore::Batch Importer::Cut(const std::string& file, ImportMode mode, const std::string& separator, bool& empty) {
  std::string bytes;
  p_.worker.Run([&] { bytes = p_.files.Read(file); });
  empty = bytes.empty();
  // A large GBK spreadsheet text is cut in two halves of whole lines side by side.
  const std::size_t cut = HalvesCutAt(bytes);
  const bool halves = (mode == ImportMode::kTabs || mode == ImportMode::kSpaces) && bytes.size() > (1 << 20) &&
                      cut != 0 && !rt::IsUnicodeText(bytes);
  if (!halves) {
    RowStore::Batch batch;
    p_.worker.Run([&] {
      const std::string text = rt::DecodeTextFile(bytes);
      empty = text.empty();
      if (!empty || mode == ImportMode::kSingle) batch = CutIntoRows(mode, text, separator);
    });
    return batch;
  }
  const std::string_view all(bytes);
  // Each half becomes rows on its own core, and what it needed is freed
  // there, off the window thread.
  RowStore::Batch batch;
  RowStore::Batch rest;
  constexpr rt::StrayBytes kStray = rt::StrayBytes::kReplaced;
  p_.worker.RunTogether({[&] { AddRows(batch, PrepareCut(mode, rt::FromGbk(all.substr(0, cut), kStray), separator)); },
                         [&] { AddRows(rest, PrepareCut(mode, rt::FromGbk(all.substr(cut), kStray), separator)); }});
  p_.worker.Run([&] {
    batch.Append(std::move(rest));
    std::string().swap(bytes);
  });
  return batch;
}

void Importer::FileDropped(std::string_view path) {
  if (busy_.Now() || importing_ || !held_drops_.empty()) {
    held_drops_.emplace_back(path);
    return;
  }
  ImportDroppedFile(std::string(path));
}

void Importer::ImportHeldDrops() {
  while (!held_drops_.empty() && !busy_.Now() && !importing_) {
    const std::string file = std::move(held_drops_.front());
    held_drops_.pop_front();
    ImportDroppedFile(file);
  }
}

void Importer::ImportDroppedFile(const std::string& file) {
  const ImportMode mode = ImportModeOf(p_.ui[kMode].Text());
  if (mode == ImportMode::kNone) return;
  const std::string separator = p_.ui[kSeparatorBox].Text();
  const bool spreadsheet = mode == ImportMode::kTabs || mode == ImportMode::kSpaces;
  importing_ = true;
  if (spreadsheet) p_.clock.Wait(50);
  bool empty = true;
  // A slot opened during the wait: this file comes first once it is open.
  if (busy_.Now()) {
    held_drops_.push_front(file);
    importing_ = false;
    return;
  }
  {
    // From reading the file to the last row in place, no other file
    // action may change the rows.
    Busy::Scope scope(busy_);
    RowStore::Batch batch = Cut(file, mode, separator, empty);
    const std::size_t before = rows_.RowCount();
    rows_.Adopt(std::move(batch));
    editor_.Refresh();
    if (before > 0 && rows_.RowCount() > before)
      p_.ui.List(kTable).EnsureVisible(static_cast<int>(rows_.RowCount()) - 1);
    // Empty pieces leave no rows, and neither do blank rows from before.
    if (mode != ImportMode::kSingle) editor_.DeleteBlankRows(before);
  }
  // The pauses that let the window repaint between the steps.
  if (mode == ImportMode::kSingle || (spreadsheet && !empty)) p_.clock.Wait(mode == ImportMode::kSingle ? 50 : 150);
  if (spreadsheet && !empty) p_.clipboard.SetText("");
  if (mode == ImportMode::kSeparator) p_.clock.Wait(50);
  importing_ = false;
  if (!held_drops_.empty()) p_.ui.RunSoon([this] { ImportHeldDrops(); });
}

}  // namespace tovan::table
