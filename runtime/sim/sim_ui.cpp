#include "runtime/sim/sim_ui.h"

#include "runtime/sim/sim_peers.h"
#include "runtime/text.h"

namespace tovan::rt::sim {

void SimUi::CreatePeers() {
  (*this)[kWindowUnit].Move({0, 0, static_cast<int>(Window().width * scale_), static_cast<int>(Window().height * scale_)});
  std::uintptr_t handle = 0x10000;
  for (const auto& unit : Units()) {
    handle += 0x10;
    if (unit->Kind() == UnitKind::kSuperList) {
      auto& list = static_cast<ListUnit&>(*unit);
      auto peer = std::make_unique<SimListPeer>(*this, list, clock_, handle);
      list.AttachListPeer(peer.get());
      list.AttachPeer(std::move(peer));
    } else {
      unit->AttachPeer(std::make_unique<SimUnitPeer>(*this, *unit, clock_, handle));
    }
  }
}

void SimUi::Show() {
  shown_ = true;
  Raise(kWindowUnit, Event{.kind = EventKind::kCreated});
}

void SimUi::Destroy() {
  if (destroyed_) return;
  destroyed_ = true;
  log_.Add(clock_.NowMicros(), Action::kWindowDestroyed, "");
  Raise(kWindowUnit, Event{.kind = EventKind::kDestroyed});
}

void SimUi::Restore() {
  minimised_ = false;
  shown_ = true;
}

void SimUi::HideToTray(std::string_view tip) {
  shown_ = false;
  tray_icon_ = true;
  log_.Add(clock_.NowMicros(), Action::kTrayIcon, "add " + std::string(tip));
}

void SimUi::RemoveTrayIcon() {
  if (!tray_icon_) return;
  tray_icon_ = false;
  log_.Add(clock_.NowMicros(), Action::kTrayIcon, "remove");
}

void SimUi::ShowBalloon(std::string_view text, Point screen) {
  log_.Add(clock_.NowMicros(), Action::kBalloon, ToText(screen.x) + "," + ToText(screen.y) + " " + std::string(text));
}

Answer SimUi::AskYesNo(std::string_view text, std::string_view title) {
  log_.Add(clock_.NowMicros(), Action::kQuestion, std::string(title) + "|" + std::string(text));
  if (answers_.empty()) return Answer::kYes;
  const Answer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

void SimUi::Warn(std::string_view text, std::string_view title) {
  log_.Add(clock_.NowMicros(), Action::kMessage, std::string(title) + "|" + std::string(text));
}

void SimUi::RegisterDropTarget(std::string_view drop_unit, std::string_view on_unit) {
  drop_targets_[std::string(on_unit)] = std::string(drop_unit);
}

void SimUi::FocusUnit(std::string_view unit) {
  if (focused_ == unit) return;
  const std::string previous = focused_;
  focused_ = std::string(unit);
  if (!previous.empty()) Raise(previous, Event{.kind = EventKind::kLostFocus});
  Raise(unit, Event{.kind = EventKind::kGotFocus});
}

void SimUi::Click(std::string_view unit) {
  Unit& u = (*this)[unit];
  if (u.Kind() == UnitKind::kCheckBox) u.SetChecked(!u.Checked());
  if (u.Kind() == UnitKind::kRadio) u.SetChecked(true);
  Raise(unit, Event{.kind = EventKind::kClicked});
}

// A list selects the row under the mouse as the system's list view does:
// after the program's handler for a press, before it for a double click.
void SimUi::SelectRowUnder(std::string_view unit, Point at) {
  Unit& u = (*this)[unit];
  if (u.Kind() != UnitKind::kSuperList) return;
  ListUnit& list = static_cast<ListUnit&>(u);
  const CellHit hit = list.HitTest(at);
  if (hit.row >= 0) list.SetCurrentRow(hit.row);
}

void SimUi::DoubleClick(std::string_view unit, Point at) {
  SelectRowUnder(unit, at);
  Raise(unit, Event{.kind = EventKind::kDoubleClicked, .x = at.x, .y = at.y});
}

void SimUi::MouseDown(std::string_view unit, Point at) {
  Raise(unit, Event{.kind = EventKind::kMouseDown, .x = at.x, .y = at.y});
  SelectRowUnder(unit, at);
}

void SimUi::ClickCell(std::string_view list, int row, int column) {
  const Point at = CellPoint(list, row, column);
  MouseDown(list, at);
}

void SimUi::DoubleClickCell(std::string_view list, int row, int column) {
  const Point at = CellPoint(list, row, column);
  MouseDown(list, at);
  DoubleClick(list, at);
}

Point SimUi::CellPoint(std::string_view list, int row, int column) {
  ListUnit& l = List(list);
  int x = 2;
  for (int c = 0; c < column; ++c) x += l.ColumnWidth(c);
  const Point origin = l.RowOrigin(row);
  return {x, origin.y + 2};
}

void SimUi::KeyDown(std::string_view unit, int virtual_key, int modifiers) {
  Raise(unit, Event{.kind = EventKind::kKeyDown, .code = virtual_key, .modifiers = modifiers});
}

void SimUi::KeyUp(std::string_view unit, int virtual_key, int modifiers) {
  Raise(unit, Event{.kind = EventKind::kKeyUp, .code = virtual_key, .modifiers = modifiers});
}

void SimUi::Choose(std::string_view unit, int index) {
  (*this)[unit].SetSelection(index);
  Raise(unit, Event{.kind = EventKind::kSelectionChanged, .code = index});
}

void SimUi::TypeText(std::string_view unit, std::string_view text) {
  FocusUnit(unit);
  (*this)[unit].SetText(text);
}

void SimUi::ClickHeader(std::string_view list, int column) {
  Raise(list, Event{.kind = EventKind::kHeaderClicked, .code = column});
}

void SimUi::ToggleCheck(std::string_view list, int row, int modifiers) {
  ListUnit& l = List(list);
  ListModel* model = l.Model();
  if (!model || row < 0 || row >= static_cast<int>(model->RowCount())) return;
  const bool state = !model->Checked(row);
  model->SetChecked(row, state);
  Raise(list, Event{.kind = EventKind::kCheckChanged, .row = row, .state = state ? 1 : 0, .modifiers = modifiers});
}

void SimUi::DropFiles(std::string_view on_unit, std::vector<std::string> files) {
  const auto it = drop_targets_.find(on_unit);
  if (it == drop_targets_.end()) return;
  Raise(it->second, Event{.kind = EventKind::kDropped, .files = std::move(files)});
}

void SimUi::Close() {
  Raise(kWindowUnit, Event{.kind = EventKind::kClosing});
  Destroy();
}

void SimUi::Minimise() {
  minimised_ = true;
  Raise(kWindowUnit, Event{.kind = EventKind::kSizeChanged, .code = 1});
}

void SimUi::TrayAction(int code) { Raise(kWindowUnit, Event{.kind = EventKind::kTray, .code = code}); }

void SimUi::SetTopmost(std::uintptr_t window, bool topmost) {
  log_.Add(clock_.NowMicros(), Action::kTopmost, ToText(static_cast<std::int64_t>(window)) + (topmost ? " on" : " off"));
}

}  // namespace tovan::rt::sim
