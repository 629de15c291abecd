// A unit whose text is worked out whenever it is read, instead of being
// refreshed by a timer: no work while nobody looks.
#pragma once

#include <functional>
#include <string>
#include <utility>

#include "runtime/unit.h"

namespace tovan::rt {

class ComputedText : public UnitPeer {
 public:
  explicit ComputedText(std::function<std::string()> text) : text_(std::move(text)) {}
  void Push(Property, const UnitState&) override {}
  void Pull(Property property, UnitState& state) override {
    if (property == Property::kText) state.text = text_();
  }

 private:
  std::function<std::string()> text_;
};

}  // namespace tovan::rt
