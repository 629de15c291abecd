#include "runtime/ui.h"

#include <cstdio>
#include <cstdlib>

namespace tovan::rt {

Ui::Ui() = default;
Ui::~Ui() = default;

void Ui::Build(const WindowLayout& window, const std::vector<UnitLayout>& units) {
  window_ = window;
  UnitLayout window_unit;
  window_unit.name = std::string(kWindowUnit);
  window_unit.kind = UnitKind::kWindow;
  window_unit.caption = window.title;
  window_unit.rect = Rect{0, 0, window.width, window.height};
  units_.push_back(std::make_unique<Unit>(window_unit));
  for (const UnitLayout& layout : units) {
    if (layout.kind == UnitKind::kSuperList)
      units_.push_back(std::make_unique<ListUnit>(layout));
    else
      units_.push_back(std::make_unique<Unit>(layout));
  }
  for (const auto& unit : units_) by_name_.emplace(unit->Name(), unit.get());
  CreatePeers();
}

Unit* Ui::Find(std::string_view name) const {
  const auto it = by_name_.find(std::string(name));
  return it == by_name_.end() ? nullptr : it->second;
}

Unit& Ui::operator[](std::string_view name) const {
  Unit* unit = Find(name);
  if (!unit) {
    std::fprintf(stderr, "no window unit named %.*s\n", static_cast<int>(name.size()), name.data());
    std::abort();
  }
  return *unit;
}

ListUnit& Ui::List(std::string_view name) const {
  Unit& unit = (*this)[name];
  if (unit.Kind() != UnitKind::kSuperList) {
    std::fprintf(stderr, "window unit %.*s is not a list\n", static_cast<int>(name.size()), name.data());
    std::abort();
  }
  return static_cast<ListUnit&>(unit);
}

void Ui::Hint(std::string_view text, std::string_view anchor, int dx, int dy) {
  const Rect window = (*this)[kWindowUnit].Bounds();
  const Rect control = (*this)[anchor].Bounds();
  ShowBalloon(text, {window.x + ToScreenPixels(control.x + dx), window.y + ToScreenPixels(control.y + dy)});
}

void Ui::Bind(std::string_view unit, EventKind kind, Handler handler) {
  handlers_[Key{std::string(unit), kind}].push_back(std::move(handler));
}

void Ui::Raise(std::string_view unit, const Event& event) {
  const auto it = handlers_.find(Key{std::string(unit), event.kind});
  if (it == handlers_.end()) return;
  // A handler may bind further handlers; walk a copy.
  const std::vector<Handler> handlers = it->second;
  for (const Handler& handler : handlers) handler(event);
}

}  // namespace tovan::rt
