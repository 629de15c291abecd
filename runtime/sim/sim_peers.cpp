#include "runtime/sim/sim_peers.h"

#include <algorithm>

#include "runtime/sim/sim_ui.h"

namespace tovan::rt::sim {

SimUnitPeer::~SimUnitPeer() { ++*timer_generation_; }

void SimUnitPeer::Push(Property property, const UnitState& state) {
  if (property == Property::kTimerPeriod && unit_.Kind() == UnitKind::kTimer) {
    ++*timer_generation_;
    if (state.timer_period_ms > 0) ScheduleTick(state.timer_period_ms);
  }
}

void SimUnitPeer::ScheduleTick(int period_ms) {
  std::weak_ptr<int> generation = timer_generation_;
  const int mine = *timer_generation_;
  clock_.AfterMillis(period_ms, [this, generation, mine, period_ms] {
    const auto alive = generation.lock();
    if (!alive || *alive != mine || ui_.Destroyed()) return;
    ScheduleTick(period_ms);
    ui_.Raise(unit_.Name(), Event{.kind = EventKind::kTick});
  });
}

void SimUnitPeer::Focus() { ui_.FocusUnit(unit_.Name()); }

SimListPeer::SimListPeer(SimUi& ui, ListUnit& list, VirtualClock& clock, std::uintptr_t handle)
    : SimUnitPeer(ui, list, clock, handle), list_(list) {}

int SimListPeer::VisibleRows() const {
  return std::max(1, (list_.Bounds().height - kHeaderHeight) / row_height_);
}

void SimListPeer::RowsChanged(std::size_t count) {
  const int rows = static_cast<int>(count);
  if (current_ >= rows) current_ = -1;
  top_ = std::clamp(top_, 0, std::max(0, rows - VisibleRows()));
}

void SimListPeer::SetCurrentRow(int row) {
  if (row < -1 || row >= static_cast<int>(list_.RowCount())) row = -1;
  if (row == current_) return;
  current_ = row;
  ui_.Raise(list_.Name(), Event{.kind = EventKind::kItemNotify, .code = 0, .row = row});
}

void SimListPeer::EnsureVisible(int row) {
  if (row < 0 || row >= static_cast<int>(list_.RowCount())) return;
  if (row < top_) top_ = row;
  if (row >= top_ + VisibleRows()) top_ = row - VisibleRows() + 1;
}

CellHit SimListPeer::HitTest(Point in_list) const {
  if (in_list.y < kHeaderHeight || in_list.x < 0) return {};
  const int row = top_ + (in_list.y - kHeaderHeight) / row_height_;
  if (row >= static_cast<int>(list_.RowCount())) return {};
  int left = 0;
  for (int column = 0; column < static_cast<int>(list_.Layout().columns.size()); ++column) {
    left += ColumnWidth(column);
    if (in_list.x < left) return {row, column};
  }
  return {row, -1};
}

Point SimListPeer::RowOrigin(int row) const { return {0, kHeaderHeight + (row - top_) * row_height_}; }

int SimListPeer::ColumnWidth(int column) const {
  const auto& columns = list_.Layout().columns;
  return (column >= 0 && column < static_cast<int>(columns.size())) ? columns[column].width : 0;
}

}  // namespace tovan::rt::sim
