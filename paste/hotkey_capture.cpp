#include "paste/hotkey_capture.h"

#include "paste/key_names.h"
#include "runtime/keys.h"

namespace tovan::paste {
namespace {

// Rows 0 to 50 of the table's hotkey column are checked for conflicts.
constexpr std::size_t kLastConflictRow = 50;

bool IsRecorderBox(std::string_view box) {
  for (const char* recorder : kRecorderBoxes)
    if (box == recorder) return true;
  return false;
}

}  // namespace

void HotkeyCapture::Bind() {
  using rt::Event;
  using rt::EventKind;
  for (const char* box : {kRecorderBoxes[0], kRecorderBoxes[1], kRecorderBoxes[2], kHotkeyEditor}) {
    p_.ui.Bind(box, EventKind::kKeyDown, [this, box](const Event& e) { Pressed(box, e.code, e.modifiers); });
    p_.ui.Bind(box, EventKind::kKeyUp, [this, box](const Event& e) { Released(box, e.code); });
  }
}

void HotkeyCapture::Pressed(std::string_view box, int virtual_key, int modifiers) {
  // Enter confirms the chord the cell editor shows (its release commits
  // it): taken as a key of its own, it would empty the editor first.
  if (virtual_key == rt::kVkReturn && box == kHotkeyEditor) return;
  const std::uint64_t event = ++events_;
  name_.clear();
  // The highest-coded named key that is down wins.
  for (int code = 1; code <= 256; ++code) {
    const std::string_view name = KeyName(code);
    if (!name.empty() && p_.keys.IsDown(code)) name_ = std::string(name);
  }
  prefix_ = std::string(Prefix(virtual_key, modifiers));
  const std::string text = prefix_ + name_;
  p_.clock.Wait(10);
  // Keys pressed or let go during the wait have shown their own, newer
  // text (a quick chord, or a release that refused it): leave it.
  if (event == events_) p_.ui[box].SetText(text);
}

void HotkeyCapture::Released(std::string_view box_name, int virtual_key) {
  ++events_;
  if (virtual_key == rt::kVkReturn && box_name == kHotkeyEditor) commit_hotkey_editor();
  rt::Unit& box = p_.ui[box_name];
  const std::string text = prefix_ + name_;
  // A modifier alone is no hotkey.
  box.SetText(!text.empty() && text.back() == '+' ? "" : text);
  // Already a row's hotkey.
  for (std::size_t row = 0; row <= kLastConflictRow && row < rows_.RowCount(); ++row) {
    if (box.Text() == rows_.Cell(row, table::kHotkey)) {
      box.SetText("");
      break;
    }
  }
  // Already another recorder box's hotkey.
  for (const char* other : kRecorderBoxes) {
    if (other == box_name) continue;
    if ((IsRecorderBox(box_name) || box_name == kHotkeyEditor) && box.Text() == p_.ui[other].Text()) box.SetText("");
  }
  p_.clock.Wait(100);
  // The chord the program itself sends to paste.
  if (box.Text() == "Ctrl+" || box.Text() == "Ctrl+V") box.SetText("");
}

}  // namespace tovan::paste
