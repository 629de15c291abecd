// The super list box: a multi-column report list with a check box in front of
// every row. Its rows live in the application's ListModel; the list only
// shows them, so it stays fast with a million rows.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

#include "runtime/unit.h"

namespace tovan::rt {

class ListModel {
 public:
  virtual ~ListModel() = default;
  virtual std::size_t RowCount() const = 0;
  // The text of a cell; the view stays valid until the model next changes.
  virtual std::string_view Cell(std::size_t row, std::size_t column) const = 0;
  virtual bool Checked(std::size_t row) const = 0;
  // The user ticked or cleared a row's check box.
  virtual void SetChecked(std::size_t row, bool checked) = 0;
};

struct CellHit {
  int row = -1;  // −1: no row was hit
  int column = -1;
  friend bool operator==(const CellHit&, const CellHit&) = default;
};

struct RowColours {
  Colour text;
  Colour back;
};

class ListPeer {
 public:
  virtual ~ListPeer() = default;
  virtual void RowsChanged(std::size_t count) = 0;
  virtual void RowChanged(std::size_t row) = 0;
  virtual int CurrentRow() const = 0;
  virtual void SetCurrentRow(int row) = 0;
  virtual void EnsureVisible(int row) = 0;
  virtual CellHit HitTest(Point in_list) const = 0;
  virtual Point RowOrigin(int row) const = 0;
  virtual int ColumnWidth(int column) const = 0;
  virtual void SetRowHeight(int pixels) = 0;
  virtual void SetRowColours(int row, RowColours colours) = 0;
  virtual void ClearRowColours() = 0;
};

class ListUnit : public Unit {
 public:
  explicit ListUnit(UnitLayout layout) : Unit(std::move(layout)) {}

  void SetModel(ListModel* model) { model_ = model; }
  ListModel* Model() const { return model_; }
  std::size_t RowCount() const { return model_ ? model_->RowCount() : 0; }

  // Tells the list that rows were added, removed or rewritten.
  void RowsChanged() { if (list_peer_) list_peer_->RowsChanged(RowCount()); }
  void RowChanged(std::size_t row) { if (list_peer_) list_peer_->RowChanged(row); }

  // The current (selected) row, −1 for none. Setting it raises the same
  // selection notification as a click.
  int CurrentRow() const { return list_peer_ ? list_peer_->CurrentRow() : -1; }
  void SetCurrentRow(int row) { if (list_peer_) list_peer_->SetCurrentRow(row); }
  void EnsureVisible(int row) { if (list_peer_) list_peer_->EnsureVisible(row); }
  CellHit HitTest(Point in_list) const { return list_peer_ ? list_peer_->HitTest(in_list) : CellHit{}; }
  Point RowOrigin(int row) const { return list_peer_ ? list_peer_->RowOrigin(row) : Point{}; }
  int ColumnWidth(int column) const { return list_peer_ ? list_peer_->ColumnWidth(column) : 0; }
  void SetRowHeight(int pixels) { if (list_peer_) list_peer_->SetRowHeight(pixels); }
  void SetRowColours(int row, RowColours colours) { if (list_peer_) list_peer_->SetRowColours(row, colours); }
  void ClearRowColours() { if (list_peer_) list_peer_->ClearRowColours(); }

  void AttachListPeer(ListPeer* peer) { list_peer_ = peer; }

 private:
  ListModel* model_ = nullptr;
  ListPeer* list_peer_ = nullptr;  // owned with the unit peer
};

}  // namespace tovan::rt
