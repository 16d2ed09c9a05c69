#pragma once
// How far a model's fundamental Rayleigh mode lies from a measured curve:
// the root mean square over the curve's points of (observed - computed) /
// sigma. A frequency where the model has no fundamental mode counts as
// computed 0.

#include <vector>

#include "inversion/layered_model.h"
#include "inversion/observed_curve.h"

namespace zentrova {

// The model's fundamental mode at the curve's frequencies (0 where none),
// refined to 1e-7 of the velocity, far finer than any measurement.
std::vector<double> FundamentalAt(const LayeredModel& model, const ObservedCurve& curve);

double CurveMisfit(const ObservedCurve& curve, const std::vector<double>& computed);

// Both at once; a model that CheckModel refuses has an infinite misfit.
double ModelMisfit(const LayeredModel& model, const ObservedCurve& curve);

}  // namespace zentrova
