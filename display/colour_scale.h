#pragma once
// Colour scales of the surface-wave pictures: rows of a threshold and a
// colour. A value takes the colour of the first row whose threshold is
// greater than it (strictly); the last threshold is large enough that every
// value finds a row.

#include <vector>

#include "display/drawing_surface.h"

namespace zentrova {

class ColourScale {
 public:
  struct Row {
    float threshold = 0.0f;
    Rgb colour;
  };

  ColourScale() = default;
  explicit ColourScale(std::vector<Row> rows) : rows_(std::move(rows)) {}

  // The colour of v. A value no threshold exceeds takes the last row's
  // colour; NaN (a row of zeros divided by its zero peak) takes the first.
  Rgb ColourOf(float v) const;

  // Spreads the thresholds evenly over lo .. hi: step (hi - lo) / n, row k
  // at lo + step (k + 1), the last row at 10000000.
  void SpreadThresholds(float lo, float hi);

  const std::vector<Row>& rows() const { return rows_; }

 private:
  std::vector<Row> rows_;
};

inline constexpr float kLastThreshold = 10000000.0f;

// A cell without data (a silent trace in the amplitude profile): a light
// grey that no scale uses.
inline constexpr Rgb kNoDataColour{200, 200, 200};

// 36 colours from magenta through red, yellow and green to blue; spread
// its thresholds before use.
ColourScale SpectrumScale();
// 26 colours with fixed thresholds in m/s, magenta below 40 m/s to violet
// from 500 m/s.
ColourScale VelocityScale();

}  // namespace zentrova
