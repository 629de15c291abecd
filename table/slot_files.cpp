#include "table/slot_files.h"

#include <memory>

#include "runtime/gbk.h"
#include "runtime/text.h"
#include "table/button_colours.h"
#include "table/saving.h"
#include "table/slot_format.h"
#include "table/slot_loader.h"
#include "table/time_slices.h"

namespace tovan::table {
namespace {

constexpr char kCheckFile[] = "选择框.txt";
constexpr char kCheckBox[] = "编辑框检查框保存";
constexpr char kSlots[] = "ABCDE";
// Runs `part(from, to)` over every row in time slices, letting the
// window's events run between slices; if they change the rows, it starts
// over with `reset` (a few times, then in one go), so the result is always
// the rows of one moment. False if the table became empty.
template <class Reset, class Part>
bool OverAllRows(rt::Ui& ui, const rt::Clock& clock, const RowStore& rows, Reset reset, Part part) {
  for (int attempt = 0;; ++attempt) {
    reset();
    const std::uint64_t generation = rows.Generation();
    bool changed = false;
    TimeSlices slices(clock);
    for (std::size_t from = 0; from < rows.RowCount() && !changed; from += TimeSlices::kStep) {
      part(from, from + TimeSlices::kStep);
      if (attempt < 3 && from + TimeSlices::kStep < rows.RowCount() && slices.Over(TimeSlices::kStep)) {
        ui.PumpEvents();
        slices.Restart();
        changed = rows.Generation() != generation;
      }
    }
    if (!changed) return rows.RowCount() > 0;
  }
}

std::string OpenButton(char slot) { return std::string("打开") + slot; }
std::string RowFile(char slot) { return std::string("保存") + slot + ".txt"; }
std::string ExtrasFile(char slot) { return std::string("跳快数据") + slot + ".txt"; }

}  // namespace

void SlotFiles::Bind() {
  using rt::Event;
  using rt::EventKind;
  for (const char* s = kSlots; *s; ++s) {
    const char slot = *s;
    p_.ui.Bind(OpenButton(slot), EventKind::kClicked, [this, slot](const Event&) { OpenSlot(slot); });
    p_.ui.Bind(std::string("保存") + slot, EventKind::kClicked, [this, slot](const Event&) { SaveSlot(slot); });
  }
  p_.ui.Bind("打开自定义", EventKind::kClicked, [this](const Event&) { ApplyActiveSlot(); });
  p_.ui.Bind("打开自定义", EventKind::kMouseDown,
             [this](const Event&) { p_.ui.Hint("●请在这选择粘贴方式！", "组合框66", 20, 30); });
  p_.ui.Bind("保存检查框", EventKind::kClicked, [this](const Event&) { SaveCheckStates(); });
  p_.ui.Bind("打开检查框", EventKind::kClicked, [this](const Event&) { LoadCheckStates(); });
}

std::vector<std::string> SlotFiles::ActiveExtrasFiles() const {
  std::vector<std::string> paths;
  for (const char* s = kSlots; *s; ++s)
    if (p_.ui[OpenButton(*s)].BackColour() == kHighlightColour) paths.push_back(PathOf(ExtrasFile(*s)));
  return paths;
}

void SlotFiles::SaveSlot(char slot) {
  if (busy_.Now()) {
    // Saved again while this slot's save still tries: the newer table wins.
    if (saving_slot_ == slot) save_again_ = true;
    return;
  }
  if (rows_.RowCount() == 0) return;
  Busy::Scope scope(busy_);
  saving_slot_ = slot;
  const std::string row_path = PathOf(RowFile(slot));
  const std::string extras_path = PathOf(ExtrasFile(slot));
  rt::WriteResult result;
  do {
    save_again_ = false;
    const std::optional<SlotBytes> bytes = SlotBytesOfTable();
    if (!bytes) break;
    // The pair is replaced together: a failure leaves the old pair, never a mixed one.
    result = WriteRetrying(
        p_, [&] { return p_.files.WriteTogether({{row_path, bytes->rows}, {extras_path, bytes->extras}}); },
        [this] { return save_again_; });
  } while (save_again_ && rows_.RowCount() > 0);
  saving_slot_ = 0;
  if (!result) p_.ui.Hint(NotSavedText(std::string("保存") + slot, result.failure), std::string("保存") + slot, 10, 30);
}

std::optional<SlotFiles::SlotBytes> SlotFiles::SlotBytesOfTable() {
  std::string row_text;
  std::string extras;
  const bool any = OverAllRows(
      p_.ui, p_.clock, rows_, [&] { row_text.clear(), extras.clear(); },
      [&](std::size_t from, std::size_t to) { AppendSlotTexts(rows_, from, to, row_text, extras); });
  if (!any) return std::nullopt;
  // Converted in two halves side by side (UTF-8 can be cut at any character).
  std::size_t middle = row_text.size() / 2;
  while (middle < row_text.size() && (static_cast<unsigned char>(row_text[middle]) & 0xC0) == 0x80) ++middle;
  rt::GbkResult rows;
  rt::GbkResult second_half;
  rt::GbkResult cells;
  p_.worker.RunTogether({[&] { rows = rt::ToGbk(std::string_view(row_text).substr(0, middle)); },
                         [&] {
                           second_half = rt::ToGbk(std::string_view(row_text).substr(middle));
                           cells = rt::ToGbk(extras);
                         }});
  p_.worker.Run([&] {
    rows.bytes.append(second_half.bytes);
    rows.lossless = rows.lossless && second_half.lossless;
  });
  // GBK files cannot hold every character: say so instead of losing it quietly.
  if ((!rows.lossless || !cells.lossless) &&
      p_.ui.AskYesNo("表格中有些字符无法保存为GBK文本，保存后将变成“?”。仍然保存吗？", "温馨提示") == rt::Answer::kNo)
    return std::nullopt;
  return SlotBytes{std::move(rows.bytes), std::move(cells.bytes)};
}

void SlotFiles::RecoverInterruptedSaves() {
  for (const char* s = kSlots; *s; ++s) p_.files.RecoverTogether({PathOf(RowFile(*s)), PathOf(ExtrasFile(*s))});
}

void SlotFiles::OpenSlot(char slot) {
  if (busy_.Now()) return;
  RecoverInterruptedSaves();
  std::string check_text;
  {
    Busy::Scope scope(busy_);
    for (const char* s = kSlots; *s; ++s)
      p_.ui[OpenButton(*s)].SetBackColour(*s == slot ? kHighlightColour : kButtonColour);
    rt::ListUnit& table = p_.ui.List(kTable);
    table.SetVisible(false);
    // The old rows are freed by a job; the new ones are built whole by jobs:
    // contents, the active slot's cells and the check states.
    auto old_rows = std::make_shared<RowStore::Batch>(rows_.TakeAll());
    editor_.Refresh();
    const std::string row_path = PathOf(RowFile(slot));
    const std::vector<std::string> extras_paths = ActiveExtrasFiles();
    check_text = CheckStateText();
    p_.worker.Run([&] { old_rows.reset(); });
    rows_.Adopt(LoadSlotRows(p_.worker, p_.files, row_path, extras_paths, check_text));
    editor_.Refresh();
    table.SetVisible(true);
    if (rows_.RowCount() > 0) table.EnsureVisible(static_cast<int>(rows_.RowCount()) - 1);
  }
  FinishApplying();
  p_.ui[kCheckBox].SetText(check_text);
  if (!rows_.Cell(0, kHotkey).empty()) p_.ui.Hint("●请在这选择粘贴方式！", "组合框66", 20, 30);
}

void SlotFiles::ApplyActiveSlot() {
  if (busy_.Now()) return;
  {
    Busy::Scope scope(busy_);
    const std::vector<std::string> paths = ActiveExtrasFiles();
    std::vector<std::string> texts;
    auto overlay = std::make_unique<ExtrasOverlay>();
    p_.worker.Run([&] {
      for (const std::string& path : paths) texts.push_back(rt::FromGbk(p_.files.Read(path)));
      for (const std::string& text : texts) overlay->Add(text);
    });
    // Every row's cells are cleared and set in one go; the window's events
    // run between time slices of rows.
    TimeSlices slices(p_.clock);
    for (std::size_t row = 0; row < rows_.RowCount(); ++row) {
      const ExtrasOverlay::Cells cells = overlay->CellsOf(row);
      rows_.SetExtras(row, cells[0], cells[1], cells[2]);
      if ((row + 1) % TimeSlices::kStep == 0 && slices.Over(TimeSlices::kStep)) {
        editor_.Refresh();
        p_.ui.PumpEvents();
        slices.Restart();
      }
    }
    editor_.Refresh();
  }
  FinishApplying();
  LoadCheckStates();
}

void SlotFiles::FinishApplying() {
  p_.clock.Wait(200);
  rt::ListUnit& table = p_.ui.List(kTable);
  table.Focus();
  table.SetCurrentRow(0);
  if (!rows_.Cell(0, kHotkey).empty()) reload_row_hotkeys();
}

std::string SlotFiles::CheckStateText() {
  // A change made during a write is the newest state, though not written yet.
  if (check_writing_) return check_dirty_ ? TableCheckText() : check_written_;
  std::string text;
  const std::string path = PathOf(kCheckFile);
  p_.worker.Run([&] { text = rt::FromGbk(p_.files.Read(path)); });
  return text;
}

void SlotFiles::SaveCheckStates() {
  check_dirty_ = true;
  if (check_writing_) return;  // the write under way writes the table again when it ends
  check_writing_ = true;
  const std::string path = PathOf(kCheckFile);
  while (check_dirty_) {
    check_dirty_ = false;
    std::string text = TableCheckText();
    p_.ui[kCheckBox].SetText(text);
    check_written_ = std::move(text);
    const rt::WriteResult result = WriteRetrying(
        p_, [&] { return p_.files.Write(path, rt::ToGbk(check_written_).bytes); }, [this] { return check_dirty_; });
    if (!result && !check_dirty_) p_.ui.Hint(NotSavedText("选择框", result.failure), "保存检查框", 10, 30);
  }
  check_writing_ = false;
}

std::string SlotFiles::TableCheckText() {
  std::string text;
  OverAllRows(p_.ui, p_.clock, rows_, [&] { text.clear(); }, [&](std::size_t from, std::size_t to) {
    for (std::size_t row = from; row < to && row < rows_.RowCount(); ++row)
      if (rows_.Checked(row)) text.append(rows_.Cell(row, kNumber)).append("\r\n");
  });
  return text;
}

void SlotFiles::LoadCheckStates() {
  const std::string text = CheckStateText();
  std::vector<std::size_t> checked;
  const std::size_t count = rows_.RowCount();
  p_.worker.Run([&] { checked = CheckedRows(text, count); });
  p_.ui[kCheckBox].SetText(text);
  for (std::size_t row : checked) rows_.SetChecked(row, true);
  editor_.Refresh();
}

}  // namespace tovan::table
