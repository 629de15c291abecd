// Peers that put units on real Win32 controls.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>

#include "runtime/list_unit.h"
#include "runtime/win32/handles.h"

namespace tovan::rt::win32 {

class Win32Ui;

// A unit shown as a child control of the main window.
class ControlPeer : public UnitPeer {
 public:
  ControlPeer(Win32Ui& ui, Unit& unit, int id);
  ~ControlPeer() override;

  void Push(Property property, const UnitState& state) override;
  void Pull(Property property, UnitState& state) override;
  void Focus() override;
  void SetCaretToEnd() override;
  std::uintptr_t Handle() const override { return reinterpret_cast<std::uintptr_t>(control_); }

  HWND Control() const { return control_; }
  Unit& Owner() const { return unit_; }
  int Id() const { return id_; }
  // Re-applies position and font after the window's DPI changed.
  void Relayout();
  // Owner-drawn picture button face.
  void Draw(const DRAWITEMSTRUCT& item);
  // Colours for WM_CTLCOLOR*: a brush, or nullptr for the default.
  HBRUSH Colours(HDC dc);

 protected:
  Win32Ui& ui_;
  Unit& unit_;

 private:
  static std::pair<const wchar_t*, DWORD> ClassAndStyle(UnitKind kind);
  void ApplyRect(const Rect& rect);

  int id_;
  HWND control_ = nullptr;
  UnitState shown_;  // what the control shows, for drawing
};

// A transparent label: its text is painted by the window itself, straight
// onto the background and not clipped to the label's own size.
class LabelPeer : public UnitPeer {
 public:
  LabelPeer(Win32Ui& ui, Unit& unit) : ui_(ui), unit_(unit) {}
  void Push(Property property, const UnitState& state) override;
  void Pull(Property, UnitState&) override {}
  void Paint(HDC dc);

 private:
  Win32Ui& ui_;
  Unit& unit_;
  UnitState shown_;
};

// A timer unit: ticks of the main window's timer with the unit's id.
class TimerPeer : public UnitPeer {
 public:
  TimerPeer(Win32Ui& ui, int id) : ui_(ui), id_(id) {}
  ~TimerPeer() override;
  void Push(Property property, const UnitState& state) override;
  void Pull(Property, UnitState&) override {}

 private:
  Win32Ui& ui_;
  int id_;
};

// The super list box as a virtual list view: rows come from the model on
// demand, check boxes are drawn from the model's check states.
class ListViewPeer : public ControlPeer, public ListPeer {
 public:
  ListViewPeer(Win32Ui& ui, ListUnit& list, int id);

  void RowsChanged(std::size_t count) override;
  void RowChanged(std::size_t row) override;
  int CurrentRow() const override;
  void SetCurrentRow(int row) override;
  void EnsureVisible(int row) override;
  CellHit HitTest(Point in_list) const override;
  Point RowOrigin(int row) const override;
  int ColumnWidth(int column) const override;
  void SetRowHeight(int pixels) override;
  void SetRowColours(int row, RowColours colours) override;
  void ClearRowColours() override;

  // Mouse and key input on the list view itself; true when it was used here.
  bool TakeInput(UINT message, WPARAM w, LPARAM l);
  // WM_NOTIFY from the list view; returns the message result.
  LRESULT Notify(NMHDR& header);
  void ApplyColumns();

 private:
  void ToggleCheck(int row, int modifiers);
  void ReportCurrentRow();
  // Moves the list view's selection to the row set last, if not yet shown.
  void ShowWantedRow();
  void ScrollToward(int row);
  int MeasuredRowHeight() const;

  ListUnit& list_;
  int reported_row_ = -1;
  bool setting_row_ = false;  // the row is being moved: one report at the end
  std::optional<int> wanted_row_;  // set, not yet shown in the list view (-1: none)
  bool show_pending_ = false;
  mutable int current_row_ = -1;  // the selected row last found
  int row_height_ = 0;
  std::wstring text_;
  std::map<int, RowColours> colours_;
  ImageList row_height_images_;
};

}  // namespace tovan::rt::win32
