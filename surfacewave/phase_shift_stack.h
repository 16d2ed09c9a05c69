#pragma once
// The phase-shift stack: for every frequency row and trial phase velocity,
// the unit-amplitude spectra of the traces are shifted back by the travel
// time over each receiver's distance and summed; the image value is the
// length of the sum divided by the number of traces (0 to 1).

#include <vector>

namespace zentrova {

struct PhaseShiftInput {
  // Spectra of the used traces, bin by bin (real and imaginary parts).
  const std::vector<std::vector<float>>* re = nullptr;
  const std::vector<std::vector<float>>* im = nullptr;
  std::vector<double> distance;  // of each used trace from the source end of the line, m
  int traces = 0;               // U
  int rows = 0;                 // R: row r is bin r x binStep
  int columns = 0;              // V
  int binStep = 1;              // w
  double frequencyStep = 0.0;   // df, Hz
  float velocityMin = 0.0f;     // km/s
  float velocityStep = 0.0f;    // km/s
};

// Velocity of column l in m/s; exactly 0 becomes 0.1 (no division by 0).
float ColumnVelocity(int l, float velocityMin, float velocityStep);

// rows x columns image values, row by row. Empty when there is no trace.
std::vector<float> PhaseShiftStack(const PhaseShiftInput& in);

}  // namespace zentrova
