#include "table/recording_files.h"

#include "runtime/gbk.h"
#include "table/saving.h"
#include "table/slot_format.h"

namespace tovan::table {
namespace {

constexpr char kCellEnd[] = "←→";

std::string SlotBox(int slot) { return "选择框" + std::to_string(93 + slot); }

}  // namespace

std::string RecordingText(const EventList& events) {
  std::string text;
  for (std::size_t row = 0; row < events.RowCount(); ++row) {
    for (const std::string& cell : events.At(row)) text.append(cell).append(kCellEnd);
    text.append("\r\n");
  }
  return text;
}

std::vector<EventList::Row> RecordingRows(std::string_view text) {
  std::vector<EventList::Row> rows;
  std::vector<std::string_view> lines = SplitViews(text, "\r\n");
  if (!lines.empty() && lines.back().empty()) lines.pop_back();
  for (std::string_view line : lines) {
    EventList::Row row;
    std::size_t column = 0;
    for (std::size_t end = line.find(kCellEnd); end != std::string_view::npos && column < row.size();
         end = line.find(kCellEnd)) {
      row[column++] = std::string(line.substr(0, end));
      line.remove_prefix(end + sizeof kCellEnd - 1);
    }
    // A last cell without its "←→" (a file edited by hand) still counts.
    if (!line.empty() && column < row.size()) row[column] = std::string(line);
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string RecordingFiles::PathOf(int slot) const {
  return p_.files.InRunDirectory("数据" + std::to_string(slot) + ".txt");
}

void RecordingFiles::Bind() {
  using rt::Event;
  using rt::EventKind;
  p_.ui.List(kEventList).SetModel(&events_);
  p_.ui.Bind("按钮59", EventKind::kClicked, [this](const Event&) { Save(); });
  p_.ui.Bind("按钮58", EventKind::kClicked, [this](const Event&) { Load(); });
  p_.ui.Bind("按钮18", EventKind::kClicked, [this](const Event&) { OpenForEditing(); });
  for (int slot = 1; slot <= 5; ++slot) {
    p_.ui.Bind(SlotBox(slot), EventKind::kClicked, [this, slot](const Event&) {
      if (!p_.ui[SlotBox(slot)].Checked()) return;
      for (int other = 1; other <= 5; ++other)
        if (other != slot) p_.ui[SlotBox(other)].SetChecked(false);
      Load();
    });
  }
}

void RecordingFiles::Save() {
  if (saving_) {
    save_again_ = true;  // saved again while a held file is tried: the newer list wins
    return;
  }
  saving_ = true;
  for (int slot = 1; slot <= 5; ++slot) {
    if (!p_.ui[SlotBox(slot)].Checked()) continue;
    rt::WriteResult result;
    do {
      save_again_ = false;
      const std::string bytes = rt::ToGbk(RecordingText(events_)).bytes;
      result = WriteRetrying(p_, [&] { return p_.files.Write(PathOf(slot), bytes); }, [this] { return save_again_; });
    } while (save_again_);
    if (!result) p_.ui.Hint(NotSavedText("数据" + std::to_string(slot), result.failure), "按钮59", 10, 30);
  }
  saving_ = false;
}

void RecordingFiles::Load() {
  rt::ListUnit& list = p_.ui.List(kEventList);
  for (int slot = 1; slot <= 5; ++slot) {
    if (!p_.ui[SlotBox(slot)].Checked()) continue;
    events_.Clear();
    for (EventList::Row& row : RecordingRows(rt::FromGbk(p_.files.Read(PathOf(slot))))) events_.Append(std::move(row));
    list.RowsChanged();
  }
}

void RecordingFiles::OpenForEditing() {
  for (int slot = 5; slot >= 1; --slot)
    if (p_.ui[SlotBox(slot)].Checked()) p_.shell.Open(PathOf(slot));
}

}  // namespace tovan::table
