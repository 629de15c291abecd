#include "table/slot_files.h"

#include "runtime/gbk.h"
#include "table/button_colours.h"
#include "runtime/text.h"

namespace tovan::table {
namespace {

constexpr char kRowEnd[] = "★";
constexpr char kCheckFile[] = "选择框.txt";
constexpr char kSlots[] = "ABCDE";
constexpr std::size_t kBatch = 10'000;

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

void SlotFiles::SaveSlot(char slot) {
  if (loading_ || rows_.RowCount() == 0) return;
  std::string row_text;
  std::string extras;
  for (std::size_t row = 0; row < rows_.RowCount(); ++row) {
    row_text.append(rows_.Cell(row, kContent)).append(kRowEnd);
    extras.append(rows_.Cell(row, kSkip)).append(kRowEnd).append(rows_.Cell(row, kPause)).append(kRowEnd);
    extras.append(rows_.Cell(row, kHotkey)).append("\r\n");
  }
  const rt::GbkResult rows = rt::ToGbk(row_text);
  const rt::GbkResult cells = rt::ToGbk(extras);
  // GBK files cannot hold every character: say so instead of losing it quietly.
  if ((!rows.lossless || !cells.lossless) &&
      p_.ui.AskYesNo("表格中有些字符无法保存为GBK文本，保存后将变成“?”。仍然保存吗？", "温馨提示") == rt::Answer::kNo)
    return;
  p_.files.Write(PathOf(RowFile(slot)), rows.bytes);
  p_.files.Write(PathOf(ExtrasFile(slot)), cells.bytes);
}

void SlotFiles::OpenSlot(char slot) {
  if (loading_) return;  // a click that arrived while a slot is loading
  for (const char* s = kSlots; *s; ++s) p_.ui[OpenButton(*s)].SetBackColour(*s == slot ? kHighlightColour : kButtonColour);
  rt::ListUnit& table = p_.ui.List(kTable);
  table.SetVisible(false);
  editor_.DeleteAllRows();
  BulkLoadRows(PathOf(RowFile(slot)));
  table.SetVisible(true);
  if (rows_.RowCount() > 0) table.EnsureVisible(static_cast<int>(rows_.RowCount()) - 1);
  ApplyActiveSlot();
  if (!rows_.Cell(0, kHotkey).empty()) p_.ui.Hint("●请在这选择粘贴方式！", "组合框66", 20, 30);
}

void SlotFiles::BulkLoadRows(std::string_view path) {
  if (loading_) return;
  // The window's events run between batches; while they do, nothing may
  // replace or save the rows being loaded.
  struct Loading {
    bool& flag;
    explicit Loading(bool& f) : flag(f) { flag = true; }
    ~Loading() { flag = false; }
  } loading(loading_);
  std::vector<std::string> pieces = rt::Split(rt::FromGbk(p_.files.Read(path)), kRowEnd);
  if (!pieces.empty() && pieces.back().empty()) pieces.pop_back();
  rows_.Reserve(rows_.RowCount() + pieces.size());
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    rows_.Append(rt::ToText(static_cast<std::int64_t>(rows_.RowCount() + 1)), pieces[i]);
    if ((i + 1) % kBatch == 0) {
      editor_.Refresh();
      p_.ui.PumpEvents();
    }
  }
  editor_.Refresh();
}

void SlotFiles::ApplyActiveSlot() {
  for (std::size_t column : {kSkip, kPause, kHotkey}) rows_.ClearColumn(column);
  for (const char* s = kSlots; *s; ++s) {
    if (p_.ui[OpenButton(*s)].BackColour() != kHighlightColour) continue;
    const std::string path = PathOf(ExtrasFile(*s));
    if (!p_.files.Exists(path)) continue;
    const std::vector<std::string> lines = rt::Split(rt::FromGbk(p_.files.Read(path)), "\r\n");
    for (std::size_t row = 0; row < lines.size() && row < rows_.RowCount(); ++row) {
      const std::vector<std::string> cells = rt::Split(lines[row], kRowEnd);
      for (std::size_t j = 0; j < cells.size() && j < 3; ++j) rows_.SetCell(row, kSkip + j, cells[j]);
    }
  }
  editor_.Refresh();
  p_.clock.Wait(200);
  rt::ListUnit& table = p_.ui.List(kTable);
  table.Focus();
  table.SetCurrentRow(0);
  if (!rows_.Cell(0, kHotkey).empty()) {
    if (row_hotkeys_loaded()) {
      load_or_unload_row_hotkeys();
      p_.clock.Wait(100);
    }
    if (!row_hotkeys_loaded()) load_or_unload_row_hotkeys();
  }
  LoadCheckStates();
}

void SlotFiles::SaveCheckStates() {
  std::string text;
  for (std::size_t row = 0; row < rows_.RowCount(); ++row)
    if (rows_.Checked(row)) text.append(rows_.Cell(row, kNumber)).append("\r\n");
  p_.ui["编辑框检查框保存"].SetText(text);
  p_.files.Write(PathOf(kCheckFile), rt::ToGbk(text).bytes);
}

void SlotFiles::LoadCheckStates() {
  rt::Unit& box = p_.ui["编辑框检查框保存"];
  box.SetText(rt::FromGbk(p_.files.Read(PathOf(kCheckFile))));
  for (const std::string& line : rt::Split(box.Text(), "\r\n")) {
    const std::int64_t number = rt::ToInteger(line);
    if (number >= 1 && static_cast<std::size_t>(number) <= rows_.RowCount()) rows_.SetChecked(number - 1, true);
  }
  editor_.Refresh();
}

}  // namespace tovan::table
