// Pin on top: with 导入方式 on one of its two pin items, the backtick key
// keeps the window the user works in above all others, or lets it go.
#pragma once

#include <cstdint>

#include "runtime/platform.h"

namespace tovan::paste {

class PinOnTop {
 public:
  explicit PinOnTop(rt::Platform platform) : p_(platform) {}
  // The hints of the two pin items when 导入方式 changes to one of them.
  void Bind();
  // A backtick press made while `window` was in front: true when it was a
  // pin request (and was carried out).
  bool Press(std::uintptr_t window);

 private:
  rt::Platform p_;
};

}  // namespace tovan::paste
