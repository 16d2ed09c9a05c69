#pragma once
// Several shots of one line into one dispersion curve with its spread: per
// frequency the mean phase velocity of the shots' resolved picks and their
// standard deviation, as MASW practice reports a line (the statistics over
// source offsets of Vantassel & Cox 2022, J. Seismology, "SWprocess": a
// point only where at least three shots give a valid value).

#include <vector>

#include "surfacewave/dispersion_curve.h"

namespace zentrova {

struct CombinedPoint {
  double frequency = 0.0;  // Hz
  double velocity = 0.0;   // mean of the shots' velocities, m/s
  double std = 0.0;        // their sample standard deviation (n - 1), m/s; 0 for one value
  int count = 0;           // shots that gave a resolved value
};

// On the rows of the first shot: each shot gives its resolved pick at that
// frequency (between two of its own rows, when its rows lie elsewhere, the
// straight line between them where both are resolved). A frequency needs
// min(3, shots) values. No point for fewer than two shots.
std::vector<CombinedPoint> CombineShots(const std::vector<DispersionCurve>& shots);

}  // namespace zentrova
