#pragma once
// The dispersion curve of one shot as values: one point per image row.

#include <vector>

namespace zentrova {

struct CurvePoint {
  double frequency = 0.0;  // Hz, the row's bin times the frequency step
  float velocity = 0.0f;   // phase velocity, m/s; 0 when the row has no pick
  float value = 0.0f;      // image value at the pick (the row's largest value when none)
  bool picked = false;     // the row has a pick
  bool resolved = false;   // picked, and its wavelength lies within what the spread measures
};

using DispersionCurve = std::vector<CurvePoint>;

}  // namespace zentrova
