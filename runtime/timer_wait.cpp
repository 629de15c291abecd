#include "runtime/timer_wait.h"

#include <cmath>
#include <limits>

namespace tovan::rt {

std::int64_t TimerDueTicks(std::int32_t amount, std::int32_t unit) {
  double ticks;
  if (unit == 1) {
    ticks = static_cast<double>(amount) * -10.0;
  } else {
    double multiplier;
    switch (unit) {
      case 0: multiplier = 1; break;
      case 2: multiplier = 1000; break;
      case 3: multiplier = 60000; break;
      case 4: multiplier = 3600000; break;
      case 5: multiplier = 86400000; break;
      default: multiplier = unit; break;
    }
    ticks = static_cast<double>(amount) * multiplier * -10000.0;
  }
  // Truncated toward zero; a product past the 64-bit range stays at its edge.
  constexpr double kLimit = 9.2233720368547748e18;  // the largest double below 2^63
  if (ticks >= kLimit) return std::numeric_limits<std::int64_t>::max();
  if (ticks <= -kLimit) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(std::trunc(ticks));
}

}  // namespace tovan::rt
