#pragma once
// Conversion of computed values to page coordinates: toward zero, and held
// inside a range no drawing needs to leave, so that a hostile value (a huge
// sample, a zero range) never overflows an int.

#include <cmath>

namespace zentrova {

inline constexpr double kPageLimit = 1.0e8;

inline int TruncToPage(double v) {
  if (std::isnan(v)) return 0;
  if (v > kPageLimit) return static_cast<int>(kPageLimit);
  if (v < -kPageLimit) return static_cast<int>(-kPageLimit);
  return static_cast<int>(v);
}

}  // namespace zentrova
