#pragma once
// From a measured Rayleigh dispersion curve to a shear-wave profile: the
// search of profile_search.h over the bounds of profile_parameters.h, and
// what a site report takes from it.
//
// - The best model: the least misfit found.
// - The accepted models: every model tried whose misfit is at most
//   max(1, 1.2 × the best), that is, models that fit the curve within its
//   uncertainty (or nearly as well as the best, when none does). Their
//   least and greatest S velocity at each depth is the range there: the
//   spread of profiles the data cannot tell apart among those tried, not a
//   confidence interval.
// - Vs30 = 30 / Σ h_i / vs_i of the best model, its half-space continued to
//   30 m, with the least and greatest Vs30 of the accepted models.
// - The resolved depth: half the longest wavelength of the curve. Below it
//   the profile (and a Vs30 that reaches below it) is extrapolated.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "inversion/layered_model.h"
#include "inversion/observed_curve.h"

namespace zentrova {

inline constexpr double kVs30Depth = 30.0;

struct InversionOptions {
  int layers = 0;       // over the half-space; 0: from the curve (profile_parameters.h)
  int models = 6000;    // forward models tried at most, 100 .. 200000
  uint64_t seed = 1;
  int searchPoints = 30;  // the search fits this many of the curve's points, spread over it; the misfit uses all
  std::function<bool()> keepGoing;  // asked before each model; false ends the search with what it found
};

struct ProfileLayer {
  double top = 0.0, bottom = 0.0;  // m; the half-space's bottom is infinite
  double vs = 0.0, vp = 0.0, density = 0.0;
  double vsMin = 0.0, vsMax = 0.0;  // accepted range at the layer's mid-depth (the half-space: from its top
                                    // to the resolved depth, or at its top when that is deeper)
};

struct DepthRange {
  double depth = 0.0;  // m
  double vsMin = 0.0, vsMax = 0.0;
};

struct VsProfile {
  std::string error;  // why the curve was refused; empty for a result
  std::vector<ProfileLayer> layers;  // of the best model, the half-space last
  LayeredModel best;
  double misfit = 0.0;     // of the best model over all the curve's points
  double acceptBound = 0.0;
  int modelsTried = 0, modelsAccepted = 0;
  uint64_t seed = 0;
  bool stopped = false;  // the search ended before its budget
  double vs30 = 0.0, vs30Min = 0.0, vs30Max = 0.0;
  bool vs30Extrapolated = false;  // the resolved depth is above 30 m
  double resolvedDepth = 0.0;
  std::vector<DepthRange> ranges;  // from the surface to max(30 m, the deepest interface allowed)
  ObservedCurve curve;             // the input in order of frequency
  std::vector<double> bestCurve;   // the best model's fundamental mode at the curve's frequencies
};

VsProfile InvertCurve(const ObservedCurve& curve, const InversionOptions& options = {});

// S velocity of a model at a depth (the upper layer's at an interface).
double VsAtDepth(const LayeredModel& model, double depth);

// The range of the accepted models at a depth, from the profile's grid.
DepthRange RangeAtDepth(const VsProfile& profile, double depth);

}  // namespace zentrova
