#include "paste/row_order.h"

#include "runtime/text.h"

namespace tovan::paste {
namespace {

constexpr char kModes[] = "组合框66";
// The picture-and-text modes work on an empty table through numbered rows.
constexpr int kPictureRows = 200;

bool IsSlotMode(std::string_view mode) {
  return mode == "多热键横向粘贴" || mode == "多热键纵向粘贴" || mode == "单快捷键图文粘贴" || mode == "多快捷键图文粘贴";
}

}  // namespace

std::string RowOrder::Mode() const { return p_.ui[kModes].Text(); }

void RowOrder::Bind() {
  using rt::Event;
  using rt::EventKind;
  p_.ui.Bind(kModes, EventKind::kSelectionChanged, [this](const Event&) { ModeChosen(); });
  p_.ui.Bind("按钮1", EventKind::kClicked, [this](const Event&) { Sequential(true); });
  p_.ui.Bind("按钮4", EventKind::kClicked, [this](const Event&) { Sequential(false); });
  p_.ui.Bind("按钮102", EventKind::kClicked, [this](const Event&) { Checked(); });
}

void RowOrder::ReloadIfFirstRowHasHotkey() {
  if (!rows_.Cell(0, table::kHotkey).empty()) hotkeys_.ReloadRowHotkeys();
}

void RowOrder::Sequential(bool reload_hotkeys) {
  if (Mode() == "勾选项全部粘贴") {
    if (reload_hotkeys) show_table();
  } else {
    hotkeys_.ReRegisterBacktick();
    show_table();
    select_copy_mode("按钮1", 0);
  }
  if (reload_hotkeys) ReloadIfFirstRowHasHotkey();
}

void RowOrder::Checked() {
  if (!IsSlotMode(Mode())) {
    hotkeys_.ReRegisterBacktick();
    show_table();
    select_copy_mode("按钮102", 1);
  }
  ReloadIfFirstRowHasHotkey();
}

void RowOrder::ModeChosen() {
  const std::string mode = Mode();
  rt::Unit& pictures = p_.ui["图文选择"];
  if (mode == "单快捷键图文粘贴" || mode == "多快捷键图文粘贴") {
    Sequential(false);
    pictures.SetChecked(true);
    if (rows_.Cell(0, table::kNumber).empty()) {
      editor_.DeleteAllRows();
      table::RowStore::Batch numbered;
      for (int i = 0; i < kPictureRows; ++i) numbered.Add("");
      rows_.Adopt(std::move(numbered));
      editor_.Refresh();
    }
    return;
  }
  if (mode == "多热键横向粘贴" || mode == "多热键纵向粘贴") Sequential(false);
  if (mode == "勾选项全部粘贴") Checked();
  pictures.SetChecked(false);
}

}  // namespace tovan::paste
