#include "table/table_editor.h"

#include "runtime/hotkeys.h"
#include "runtime/keys.h"
#include "runtime/text.h"

namespace tovan::table {
namespace {

constexpr char kContentEditor[] = "编辑框1009";
constexpr char kNumberEditor[] = "编辑框1008";
constexpr char kHotkeyEditor[] = "编辑框1007";
constexpr char kSearch[] = "编辑框查询";
constexpr char kTitle[] = "温馨提示";
constexpr rt::RowColours kFound{.text = {255, 0, 0}, .back = {255, 255, 0}};
constexpr int kLastHotkeyRow = 50;

}  // namespace

rt::ListUnit& TableEditor::List() const { return p_.ui.List(kTable); }

void TableEditor::Bind() {
  using rt::Event;
  using rt::EventKind;
  rt::Ui& ui = p_.ui;
  List().SetModel(&rows_);
  ui.Bind(kTable, EventKind::kMouseDown, [this](const Event& e) { HitTest({e.x, e.y}); });
  ui.Bind(kTable, EventKind::kDoubleClicked, [this](const Event& e) { OpenEditor({e.x, e.y}); });
  ui.Bind(kTable, EventKind::kHeaderClicked, [this](const Event& e) { HeaderClicked(e.code); });
  ui.Bind(kTable, EventKind::kCheckChanged,
          [this](const Event& e) { CheckChanged(e.row, e.state != 0, (e.modifiers & rt::kShift) != 0); });
  ui.Bind(kTable, EventKind::kItemNotify, [this](const Event&) {
    // Only while the user works in this window: a paste moving the row on
    // must never take the focus from the program being filled.
    if (p_.ui.Active()) List().Focus();
    List().EnsureVisible(List().CurrentRow());
  });
  for (const char* editor : {kContentEditor, kNumberEditor, kHotkeyEditor})
    ui.Bind(editor, EventKind::kGotFocus, [this](const Event&) { editor_cell_ = hit_; });
  for (const char* editor : {kNumberEditor, kHotkeyEditor})
    ui.Bind(editor, EventKind::kLostFocus, [this, editor](const Event&) { CommitEditor(editor); });
  // Files dropped on the open content editor: one path per line.
  ui.Bind("拖放对象2", EventKind::kDropped, [this](const Event& e) {
    rt::Unit& editor = p_.ui[kContentEditor];
    std::string text = editor.Text();
    for (const std::string& path : e.files) text.append(path).append("\r\n");
    editor.SetText(text);
  });
  ui.Bind(kHotkeyEditor, EventKind::kDoubleClicked, [this](const Event&) { p_.ui[kHotkeyEditor].SetText(""); });
  ui.Bind(kSearch, EventKind::kKeyDown, [this](const Event& e) { SearchKey(e.code); });
  ui.Bind(kSearch, EventKind::kMouseDown, [this](const Event&) { SearchClicked(); });
  ui.Bind("删除", EventKind::kClicked, [this](const Event&) { DeleteCurrentRow(); });
  ui.Bind("删除1", EventKind::kClicked, [this](const Event&) { DeleteBlankRows(); });
  ui.Bind("按钮9", EventKind::kClicked, [this](const Event&) { FindRows(); });
}

void TableEditor::Refresh() { List().RowsChanged(); }

void TableEditor::RenumberRows() {
  rows_.Renumber();
  Refresh();
}

void TableEditor::DeleteBlankRows(std::size_t among) {
  // The list keeps the current row by its place: moved back onto its row.
  const int current = List().CurrentRow();
  std::size_t row = current < 0 ? 0 : static_cast<std::size_t>(current);
  rows_.DeleteBlankRows(among, current < 0 ? nullptr : &row);
  Refresh();
  if (current >= 0) List().SetCurrentRow(row < rows_.RowCount() ? static_cast<int>(row) : -1);
}

void TableEditor::ClearColumn(std::size_t column) {
  rows_.ClearColumn(column);
  Refresh();
}

void TableEditor::DeleteCurrentRow() {
  const int row = List().CurrentRow();
  if (row < 0) return;
  rows_.Delete(static_cast<std::size_t>(row));
  RenumberRows();
}

void TableEditor::DeleteAllRows() {
  rows_.Clear();
  Refresh();
}

bool TableEditor::Ask(std::string_view question) { return p_.ui.AskYesNo(question, kTitle) == rt::Answer::kYes; }

void TableEditor::HitTest(rt::Point at) {
  rt::ListUnit& list = List();
  hit_ = list.HitTest(at);
  list.SetCurrentRow(-1);
  if (hit_.row < 0) return;
  list.Focus();
  switch (hit_.column) {
    case kSkip:
      p_.ui["跳格暂停"].SetText("2");
      p_.ui.Hint("●批量设置【跳格数】！", "组合框63", 16, 30);
      break;
    case kPause:
      p_.ui["跳格暂停"].SetText("3");
      p_.ui.Hint("●批量设置【暂停数】！", "组合框63", 16, 30);
      break;
    case kNumber:
      p_.ui["跳格暂停"].SetText("0");
      p_.ui.Hint("●批量设置【选择项】！", "组合框63", 16, 30);
      break;
    default: break;
  }
}

void TableEditor::PlaceEditor(std::string_view editor, int row, int column, int d, int extra_width) {
  rt::ListUnit& list = List();
  const rt::Rect table = list.Bounds();
  const rt::Point origin = list.RowOrigin(row);
  int left = table.x + origin.x;
  for (int c = 0; c < column; ++c) left += list.ColumnWidth(c) - d;
  int width = list.ColumnWidth(column) + extra_width;
  if (left + width > table.x + table.width) width = table.width;
  rt::Unit& unit = p_.ui[editor];
  unit.Move({left, table.y + origin.y + 1, width, unit.Bounds().height});
}

void TableEditor::OpenEditor(rt::Point at) {
  const int column = hit_.column;
  rt::Unit& content_editor = p_.ui[kContentEditor];
  auto hit_again = [&] {
    HitTest(at);
    return hit_.row >= 0;
  };
  // Text typed into the content editor is kept before another editor
  // takes its place (the user may never click 【内容】 to confirm it).
  CommitContentEditor();
  switch (column) {
    case kContent: {
      p_.ui.Hint("●修改后，记得点击【内容】处完成确认！", kTable, 150, 30);
      p_.clock.Wait(30);
      if (!hit_again()) return;
      PlaceEditor(kContentEditor, hit_.row, hit_.column, 16, 80);
      content_editor.SetText(std::string(rows_.Cell(hit_.row, hit_.column)) + "\r\n");
      p_.ui["编辑框行号"].SetText(rt::ToText(hit_.row));
      p_.ui["编辑框列号"].SetText(rt::ToText(hit_.column));
      content_editor.SetVisible(true);
      content_editor.Focus();
      content_editor.SetCaretToEnd();
      break;
    }
    case kSkip:
    case kPause: {
      p_.clock.Wait(30);
      if (!hit_again()) return;
      rt::Unit& editor = p_.ui[kNumberEditor];
      PlaceEditor(kNumberEditor, hit_.row, hit_.column, 8, 0);
      editor.SetText(rows_.Cell(hit_.row, hit_.column));
      if (column == kPause) editor.SetText("暂停");
      editor.SetVisible(true);
      editor.Focus();
      editor.SetCaretToEnd();
      break;
    }
    case kHotkey: {
      if (row_hotkeys_loaded()) load_or_unload_row_hotkeys();
      if (!row_hotkeys_loaded()) p_.ui.Hint("●设置完热键，记得点击【加载热键】！", "加载热键", 18, 30);
      const int current = List().CurrentRow();
      if (current < 0 || rt::ToInteger(rows_.Cell(current, kNumber)) > kLastHotkeyRow) return;
      p_.clock.Wait(30);
      if (!hit_again()) return;
      rt::Unit& editor = p_.ui[kHotkeyEditor];
      PlaceEditor(kHotkeyEditor, hit_.row, hit_.column, 4, 0);
      editor.SetText(rows_.Cell(hit_.row, hit_.column));
      editor.SetVisible(true);
      editor.Focus();
      break;
    }
    default: break;
  }
}

void TableEditor::CommitEditor(std::string_view editor) {
  rt::Unit& unit = p_.ui[editor];
  rows_.SetCell(editor_cell_.row, editor_cell_.column, unit.Text());
  List().RowChanged(editor_cell_.row);
  unit.SetVisible(false);
}

void TableEditor::CommitHotkeyEditor() { CommitEditor(kHotkeyEditor); }

void TableEditor::CommitContentEditor() {
  rt::Unit& editor = p_.ui[kContentEditor];
  // Only an open editor commits: a header click with the editor closed must
  // not write its old text over whatever row now has that number.
  if (!editor.Visible()) return;
  std::string text = editor.Text();
  while (text.find("\r\n\r\n") != std::string::npos) text = rt::ReplaceAll(text, "\r\n\r\n", "\r\n");
  if (rt::EndsWith(text, "\r\n")) text.resize(text.size() - 2);
  if (rt::StartsWith(text, "\r\n")) text.erase(0, 2);
  p_.clock.Wait(30);
  List().Focus();
  const int row = rt::ToInteger(p_.ui["编辑框行号"].Text());
  const int column = rt::ToInteger(p_.ui["编辑框列号"].Text());
  if (row >= 0) {
    rows_.SetCell(row, column, text);
    List().RowChanged(row);
  }
  editor.SetVisible(false);
}

void TableEditor::HeaderClicked(int column) {
  switch (column) {
    case kNumber: {
      rt::Unit& all = p_.ui["全选项"];
      const bool check = !all.Checked();
      ResetChecks(check);
      all.SetChecked(check);
      break;
    }
    case kContent: CommitContentEditor(); break;
    case kSkip:
      if (Ask("确定删除【跳格列】？")) ClearColumn(kSkip);
      break;
    case kPause:
      if (Ask("确定删除【暂停列】？")) ClearColumn(kPause);
      break;
    case kHotkey:
      if (!Ask("确定删除【快捷键列】？")) break;
      ClearColumn(kHotkey);
      if (row_hotkeys_loaded()) {
        load_or_unload_row_hotkeys();
        p_.clock.Wait(100);
      }
      break;
    default: break;
  }
}

void TableEditor::ResetChecks(bool checked) {
  rows_.SetAllChecked(checked);
  Refresh();
}

void TableEditor::CheckChanged(int row, bool state, bool shift_click) {
  if (shift_click || p_.keys.IsDown(rt::kVkShift)) {
    const int step = row > check_anchor_ ? 1 : -1;
    for (int r = check_anchor_; r != row; r += step) rows_.SetChecked(static_cast<std::size_t>(r), state);
    Refresh();
  }
  check_anchor_ = row;
  save_check_states();
}

void TableEditor::FindRows() {
  rt::ListUnit& list = List();
  list.ClearRowColours();
  const std::string query = p_.ui[kSearch].Text();
  if (query.empty()) return;
  for (std::size_t row : rows_.FindContent(query)) {
    list.SetRowColours(static_cast<int>(row), kFound);
    rows_.SetChecked(row, true);
  }
  Refresh();
}

void TableEditor::SearchKey(int key) {
  if (key != rt::kVkReturn) return;
  if (!p_.ui[kSearch].Text().empty()) {
    ResetChecks(false);
    p_.clock.Wait(100);
    FindRows();
    p_.clock.Wait(100);
    return;
  }
  // Alternate rows: the user ticks row 1 or row 2 and presses Enter.
  std::size_t first;
  if (rows_.Checked(0))
    first = 0;
  else if (rows_.Checked(1))
    first = 1;
  else
    return;
  rows_.SetAllChecked(false);
  List().ClearRowColours();
  for (std::size_t row = first; row < rows_.RowCount(); row += 2) rows_.SetChecked(row, true);
  Refresh();
}

void TableEditor::SearchClicked() {
  if (!List().Visible()) return;
  p_.ui["跳格暂停"].SetText("0");
  p_.clock.Wait(10);
  List().ClearRowColours();
  ResetChecks(false);
  select_checked_order();
  p_.ui[kSearch].Focus();
}

}  // namespace tovan::table
