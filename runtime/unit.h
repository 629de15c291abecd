// A window unit: the main window or one of its controls, addressed by name.
// The unit keeps its state itself; a backend peer, where there is a real
// control behind the unit, mirrors every change onto it and reads back what
// the user changed. Units without a peer are plain state holders.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/unit_layout.h"

namespace tovan::rt {

enum class Property { kText, kRect, kVisible, kBackColour, kTextColour, kChecked, kSelection, kItems, kTimerPeriod };

struct UnitState {
  std::string text;
  Rect rect;
  bool visible = true;
  Colour back_colour;
  Colour text_colour;
  bool checked = false;
  int selection = -1;
  std::vector<std::string> items;
  std::vector<std::int64_t> item_values;  // a number kept with each item
  int timer_period_ms = 0;
};

class UnitPeer {
 public:
  virtual ~UnitPeer() = default;
  // Shows a property the program has just changed.
  virtual void Push(Property property, const UnitState& state) = 0;
  // Reads back a property the user may have changed since.
  virtual void Pull(Property property, UnitState& state) = 0;
  virtual void Focus() {}
  virtual void SetCaretToEnd() {}
  virtual std::uintptr_t Handle() const { return 0; }
};

class Unit {
 public:
  explicit Unit(UnitLayout layout);
  virtual ~Unit();
  Unit(const Unit&) = delete;
  Unit& operator=(const Unit&) = delete;

  const std::string& Name() const { return layout_.name; }
  UnitKind Kind() const { return layout_.kind; }
  const UnitLayout& Layout() const { return layout_; }

  // Text, caption or title; for a list-only combo box the selected item.
  std::string Text() const;
  void SetText(std::string_view text);

  Rect Bounds() const;
  void Move(const Rect& rect);
  bool Visible() const;
  void SetVisible(bool visible);
  Colour BackColour() const;
  void SetBackColour(Colour colour);
  Colour TextColour() const;
  void SetTextColour(Colour colour);
  bool Checked() const;
  void SetChecked(bool checked);

  // Current selection of a combo or list box, −1 for none. An index outside
  // the items selects nothing.
  int Selection() const;
  void SetSelection(int index);
  int ItemCount() const;
  std::string ItemText(int index) const;  // "" outside the items
  std::int64_t ItemValue(int index) const;  // 0 outside the items
  void AddItem(std::string_view text, std::int64_t value = 0);
  void ClearItems();

  int TimerPeriod() const;
  void SetTimerPeriod(int ms);

  void Focus();
  void SetCaretToEnd();
  // The system handle of the real control behind the unit; 0 for a state holder.
  std::uintptr_t Handle() const;

  void AttachPeer(std::unique_ptr<UnitPeer> peer);
  UnitPeer* Peer() const { return peer_.get(); }

 private:
  const UnitState& Read(Property property) const;
  void Changed(Property property);

  UnitLayout layout_;
  mutable UnitState state_;
  std::unique_ptr<UnitPeer> peer_;
};

}  // namespace tovan::rt
