// Work over many rows on the window thread runs in slices that end once a
// few milliseconds have passed, whatever the machine's speed, so that the
// window answers between them. A slice also ends after a most number of
// rows, which bounds it where the clock stands still while code runs (the
// simulated clock).
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/clock.h"

namespace tovan::table {

class TimeSlices {
 public:
  static constexpr std::int64_t kSliceMicros = 8'000;
  static constexpr std::size_t kMostRows = 50'000;
  // Rows done between two looks at the clock.
  static constexpr std::size_t kStep = 2'048;

  explicit TimeSlices(const rt::Clock& clock) : clock_(clock), start_(clock.NowMicros()) {}

  // Counts `rows` more rows of this slice; true when the slice is over, and
  // the next one begins.
  bool Over(std::size_t rows) {
    rows_ += rows;
    if (rows_ < kMostRows && clock_.NowMicros() - start_ < kSliceMicros) return false;
    rows_ = 0;
    return true;
  }
  // The next slice begins now (after the window's events have run).
  void Restart() { start_ = clock_.NowMicros(); }

 private:
  const rt::Clock& clock_;
  std::int64_t start_;
  std::size_t rows_ = 0;
};

}  // namespace tovan::table
