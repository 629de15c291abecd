// Peers of the simulated units: focus, timers on the virtual clock, fake
// handles, and the list's current row and geometry.
#pragma once

#include <map>
#include <memory>

#include "runtime/list_unit.h"
#include "runtime/sim/virtual_clock.h"

namespace tovan::rt::sim {

class SimUi;

class SimUnitPeer : public UnitPeer {
 public:
  SimUnitPeer(SimUi& ui, Unit& unit, VirtualClock& clock, std::uintptr_t handle)
      : ui_(ui), unit_(unit), clock_(clock), handle_(handle) {}
  ~SimUnitPeer() override;
  void Push(Property property, const UnitState& state) override;
  void Pull(Property, UnitState&) override {}
  void Focus() override;
  std::uintptr_t Handle() const override { return handle_; }

 protected:
  SimUi& ui_;

 private:
  void ScheduleTick(int period_ms);

  Unit& unit_;
  VirtualClock& clock_;
  std::uintptr_t handle_;
  std::shared_ptr<int> timer_generation_ = std::make_shared<int>(0);  // a new period cancels old ticks
};

// Geometry of the simulated list: a header row above rows of fixed height.
class SimListPeer : public SimUnitPeer, public ListPeer {
 public:
  static constexpr int kHeaderHeight = 20;
  SimListPeer(SimUi& ui, ListUnit& list, VirtualClock& clock, std::uintptr_t handle);

  void RowsChanged(std::size_t count) override;
  void RowChanged(std::size_t) override {}
  int CurrentRow() const override { return current_; }
  void SetCurrentRow(int row) override;
  void EnsureVisible(int row) override;
  CellHit HitTest(Point in_list) const override;
  Point RowOrigin(int row) const override;
  int ColumnWidth(int column) const override;
  void SetRowHeight(int pixels) override { row_height_ = pixels > 0 ? pixels : row_height_; }
  void SetRowColours(int row, RowColours colours) override { colours_[row] = colours; }
  void ClearRowColours() override { colours_.clear(); }

  int TopRow() const { return top_; }
  int RowHeight() const { return row_height_; }
  const std::map<int, RowColours>& Colours() const { return colours_; }

 private:
  int VisibleRows() const;

  ListUnit& list_;
  int current_ = -1;
  int top_ = 0;
  int row_height_ = 17;
  std::map<int, RowColours> colours_;
};

}  // namespace tovan::rt::sim
