// The dispatch of a row hotkey press, and the one-press modes of both row orders.
#include "paste/paste_engine.h"

#include "paste/done_sound.h"

namespace tovan::paste {
namespace {

constexpr int kSequential = 0;  // 组合框1: "万条复制"
constexpr int kChecked = 1;     // 组合框1: "有序复制"

}  // namespace

void PasteEngine::PasteOnHotkey(int id, std::uintptr_t window) {
  press_window_ = window;
  press_left_ = false;
  const std::string mode = p_.ui["组合框66"].Text();
  const int order = p_.ui["组合框1"].Selection();
  if (order == kSequential) SequentialPress(mode, id);
  if (order == kChecked) CheckedPress(mode);
}

void PasteEngine::SequentialPress(std::string_view mode, int id) {
  if (mode == "手动横向粘贴" || mode == "手动纵向粘贴") {
    const int r = CurrentRow();
    const Delivery delivery = ClipboardPaste(Content(r), 100, r);
    if (delivery == Delivery::kMaybe) Advance();
    if (delivery != Delivery::kTaken) return;
    SkipKeys(r, mode == "手动横向粘贴" ? Key::kTab : Key::kEnter, true);
    Advance();
  } else if (mode == "账号强制粘贴") {
    p_.clock.Wait(Interval());
    if (!TypeRow(Content(CurrentRow()))) return;
    p_.clock.Wait(Interval());
    Advance();
    TypedTabs(CurrentRow());  // the count of the row after the one typed
  } else if (mode == "网页强制粘贴") {
    p_.ui.PumpEvents();
    const int r = CurrentRow();
    if (!PostRow(Content(r))) return;
    SkipKeysAfterPost(r, true);
    Advance();
  } else if (mode == "多快捷键图文粘贴") {
    const int slot = hotkeys_.SlotOf(id);
    if (slot == 0) return;
    SetCurrentRow(slot - 1);  // rebuilds the item list from that row
    if (PasteItemList() != Delivery::kTaken) return;
    if (slot == 1) p_.clock.Wait(50);
    Press({rt::kVkReturn});
    p_.ui.List(table::kTable).EnsureVisible(CurrentRow());
  } else if (mode == "单快捷键图文粘贴") {
    const Delivery delivery = PasteItemList();
    if (delivery == Delivery::kMaybe) Advance();
    if (delivery != Delivery::kTaken) return;
    Press({rt::kVkReturn});
    p_.clock.Wait(Interval());
    Advance();
    p_.ui.List(table::kTable).EnsureVisible(CurrentRow());
  } else if (mode == "自动横向粘贴" || mode == "自动网页强制粘贴" || mode == "自动纵向粘贴") {
    SequentialRun(mode);
  } else if (mode == "多热键纵向粘贴" || mode == "多热键横向粘贴") {
    const int slot = hotkeys_.SlotOf(id);
    if (slot == 0) return;
    SetCurrentRow(slot - 1);
    const bool horizontal = mode == "多热键横向粘贴";
    if (horizontal && slot <= 6) p_.clock.Wait(50);
    const int r = CurrentRow();
    if (ClipboardPaste(Content(r), 100, r) != Delivery::kTaken) return;
    SkipKeys(r, horizontal ? Key::kTab : Key::kEnter, true);
  }
}

void PasteEngine::CheckedPress(std::string_view mode) {
  if (mode == "勾选项全部粘贴") {
    rt::Unit& all = p_.ui["编辑框勾选项"];
    all.SetText("");
    std::string text;
    for (std::size_t row = 0; row < rows_.RowCount(); ++row)
      if (rows_.Checked(row)) text.append(rows_.Cell(row, table::kContent)).append("\r\n");
    all.SetText(text);
    ClipboardPaste(text, Interval(), -1);
    return;
  }
  if (mode == "自动横向粘贴" || mode == "自动纵向粘贴" || mode == "自动网页强制粘贴") {
    CheckedRun(mode);
    return;
  }
  const bool manual = mode == "手动横向粘贴" || mode == "手动纵向粘贴";
  if (!manual && mode != "账号强制粘贴" && mode != "网页强制粘贴") return;
  const int i = FirstCheckedRow();
  if (i < 0) return;
  if (manual) {
    SetCurrentRowFromNumber(i);
    const Delivery delivery = ClipboardPaste(Content(i), Interval(), i);
    if (delivery == Delivery::kNotTaken) return;
    if (delivery == Delivery::kTaken) SkipKeys(CurrentRow(), mode == "手动横向粘贴" ? Key::kTab : Key::kEnter, true);
  } else if (mode == "账号强制粘贴") {
    p_.ui.PumpEvents();
    SetCurrentRowFromNumber(i);
    p_.clock.Wait(Interval());
    if (!TypeRow(Content(CurrentRow()))) return;
    TypedTabs(CurrentRow());
  } else {
    SetCurrentRowFromNumber(i);
    p_.clock.Wait(Interval());
    if (!PostRow(Content(i))) return;
    SkipKeysAfterPost(CurrentRow(), true);
  }
  rows_.SetChecked(static_cast<std::size_t>(i), false);
  editor_.Refresh();
  EndCheck();
}

void PasteEngine::EndCheck() {
  bool any = false;
  for (std::size_t row = 0; row < rows_.RowCount() && !any; ++row) any = rows_.Checked(row);
  p_.clock.Wait(Interval());
  if (any) return;
  // All pasted: the sound, and the saved marks back for the next round.
  p_.system.PlayWave(DoneSound());
  restore_checks();
}

}  // namespace tovan::paste
