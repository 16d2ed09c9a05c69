#pragma once
// Rayleigh phase velocities of a layered model: the fundamental mode and
// the first higher mode at each frequency, the zeros of the dispersion
// function found from the lowest velocity upwards so that no mode is
// jumped.
//
// At each frequency the search starts at 0.8 times the lowest S velocity
// (below any layer's Rayleigh velocity, 0.87 vs and more) and steps up
// until the function changes sign: the first change is the fundamental
// mode, the next one the first higher mode, each refined to `tolerance`
// of the velocity. A step grows the velocity by at most `step` and the vertical
// phase through the layers (RayleighSecular::VerticalPhase; successive
// modes lie about π apart in it) by at most `phaseStep`, so it is fine
// where the function turns quickly (just above a layer's velocity, at high
// frequency) and coarse where nothing can lie between two tries. Two
// modes closer together than a step could still hide each other; the
// defaults are an eighth of the modes' spacing.

#include <vector>

#include "inversion/layered_model.h"

namespace zentrova {

struct RayleighModes {
  double fundamental = 0.0;  // m/s; 0 when there is none below the half-space's S velocity
  double first = 0.0;        // the first higher mode, m/s; 0 where it does not exist
};

struct ModeSearch {
  double step = 0.02;        // largest ratio between two velocities tried, minus 1 (1e-4 .. 0.1)
  double phaseStep = 0.39;   // largest growth of the vertical phase per step, rad (0.01 .. 1)
  double tolerance = 1e-9;   // relative width to which a zero is refined (1e-12 .. 1e-3)
  bool higherMode = true;    // also search the first higher mode
};

// One entry per frequency (Hz); a frequency that is not positive and
// finite gives no mode. `model` must pass CheckModel.
std::vector<RayleighModes> RayleighPhaseVelocities(const LayeredModel& model, const std::vector<double>& frequencies,
                                                   const ModeSearch& search = {});

}  // namespace zentrova
