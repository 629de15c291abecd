#include "runtime/unit.h"

#include <utility>

namespace tovan::rt {

Unit::Unit(UnitLayout layout) : layout_(std::move(layout)) {
  state_.text = layout_.caption;
  state_.rect = layout_.rect;
  state_.visible = layout_.visible;
  state_.back_colour = layout_.back_colour.value_or(Colour{255, 255, 255});
  state_.text_colour = layout_.text_colour.value_or(Colour{0, 0, 0});
  state_.checked = layout_.checked;
  state_.items = layout_.items;
  state_.selection = (layout_.selection >= 0 && layout_.selection < static_cast<int>(layout_.items.size()))
                         ? layout_.selection
                         : -1;
  state_.timer_period_ms = layout_.timer_period_ms;
}

Unit::~Unit() = default;

const UnitState& Unit::Read(Property property) const {
  if (peer_) peer_->Pull(property, state_);
  return state_;
}

void Unit::Changed(Property property) {
  if (peer_) peer_->Push(property, state_);
}

std::string Unit::Text() const {
  if (layout_.kind == UnitKind::kComboList) {
    const UnitState& s = Read(Property::kSelection);
    return (s.selection >= 0 && s.selection < static_cast<int>(s.items.size())) ? s.items[s.selection] : s.text;
  }
  return Read(Property::kText).text;
}

void Unit::SetText(std::string_view text) {
  state_.text = std::string(text);
  Changed(Property::kText);
}

Rect Unit::Bounds() const { return Read(Property::kRect).rect; }

void Unit::Move(const Rect& rect) {
  state_.rect = rect;
  Changed(Property::kRect);
}

bool Unit::Visible() const { return Read(Property::kVisible).visible; }

void Unit::SetVisible(bool visible) {
  state_.visible = visible;
  Changed(Property::kVisible);
}

Colour Unit::BackColour() const { return state_.back_colour; }

void Unit::SetBackColour(Colour colour) {
  state_.back_colour = colour;
  Changed(Property::kBackColour);
}

Colour Unit::TextColour() const { return state_.text_colour; }

void Unit::SetTextColour(Colour colour) {
  state_.text_colour = colour;
  Changed(Property::kTextColour);
}

bool Unit::Checked() const { return Read(Property::kChecked).checked; }

void Unit::SetChecked(bool checked) {
  state_.checked = checked;
  Changed(Property::kChecked);
}

int Unit::Selection() const { return Read(Property::kSelection).selection; }

void Unit::SetSelection(int index) {
  state_.selection = (index >= 0 && index < static_cast<int>(state_.items.size())) ? index : -1;
  // An editable combo box shows the chosen item in its edit field.
  if (layout_.kind == UnitKind::kComboEdit && state_.selection >= 0) state_.text = state_.items[state_.selection];
  Changed(Property::kSelection);
}

int Unit::ItemCount() const { return static_cast<int>(state_.items.size()); }

std::string Unit::ItemText(int index) const {
  return (index >= 0 && index < ItemCount()) ? state_.items[index] : std::string();
}

std::int64_t Unit::ItemValue(int index) const {
  return (index >= 0 && index < static_cast<int>(state_.item_values.size())) ? state_.item_values[index] : 0;
}

void Unit::AddItem(std::string_view text, std::int64_t value) {
  state_.item_values.resize(state_.items.size());
  state_.item_values.push_back(value);
  state_.items.emplace_back(text);
  Changed(Property::kItems);
}

void Unit::ClearItems() {
  state_.items.clear();
  state_.item_values.clear();
  state_.selection = -1;
  Changed(Property::kItems);
}

int Unit::TimerPeriod() const { return state_.timer_period_ms; }

void Unit::SetTimerPeriod(int ms) {
  state_.timer_period_ms = ms < 0 ? 0 : ms;
  Changed(Property::kTimerPeriod);
}

void Unit::Focus() {
  if (peer_) peer_->Focus();
}

void Unit::SetCaretToEnd() {
  if (peer_) peer_->SetCaretToEnd();
}

std::uintptr_t Unit::Handle() const { return peer_ ? peer_->Handle() : 0; }

void Unit::AttachPeer(std::unique_ptr<UnitPeer> peer) {
  peer_ = std::move(peer);
  if (!peer_) return;
  for (Property p : {Property::kText, Property::kRect, Property::kVisible, Property::kBackColour,
                     Property::kTextColour, Property::kChecked, Property::kItems, Property::kSelection,
                     Property::kTimerPeriod})
    peer_->Push(p, state_);
}

}  // namespace tovan::rt
