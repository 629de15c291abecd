#include "table/batch_settings.h"

#include <algorithm>

#include "runtime/text.h"
#include "table/cell_cursor.h"

namespace tovan::table {
namespace {

constexpr char kValues[] = "组合框63";

}  // namespace

void BatchSettings::Bind() {
  using rt::Event;
  using rt::EventKind;
  p_.ui.Bind(kValues, EventKind::kMouseDown,
             [this](const Event&) { p_.ui.Hint("●批量设置选择项\\跳格\\暂停\\", kValues, 18, 30); });
  p_.ui.Bind(kValues, EventKind::kSelectionChanged, [this](const Event&) { ApplyBatch(); });
  p_.ui.Bind("按钮6", EventKind::kClicked, [this](const Event&) { ResetCellCursor(); });
}

void BatchSettings::ResetCellCursor() {
  for (int i = 0; i < 10; ++i) {
    p_.ui[CellCursorBox(i)].SetText(kCellCursorTexts[i]);
    p_.ui[CellCursorFlag(i)].SetChecked(true);
  }
}

void BatchSettings::ApplyBatch() {
  const std::string value = p_.ui[kValues].Text();
  const std::size_t n = static_cast<std::size_t>(std::max(0, rt::ToInteger(value)));
  ResetCellCursor();
  p_.ui["编辑框查询"].SetText("");
  const std::string target = p_.ui["跳格暂停"].Text();
  const std::size_t count = rows_.RowCount();
  if (target == "2") {
    for (std::size_t row = 0; row < count; ++row) rows_.SetCell(row, kSkip, value);
  } else if (target == "3") {
    rows_.ClearColumn(kPause);
    for (std::size_t number = n; n > 0 && number <= count; number += n) rows_.SetCell(number - 1, kPause, "暂停");
  } else if (target == "0") {
    rows_.SetAllChecked(false);
    editor_.FindRows();
    // "1" is the odd rows, "2" the even rows, any other number a step width.
    const std::size_t first = value == "1" ? 1 : value == "2" ? 2 : n;
    const std::size_t step = value == "1" || value == "2" ? 2 : n;
    for (std::size_t number = first; step > 0 && number <= count; number += step) rows_.SetChecked(number - 1, true);
    editor_.Refresh();
    editor_.save_check_states();
    return;
  } else {
    return;
  }
  editor_.Refresh();
}

}  // namespace tovan::table
