#pragma once
// The unknowns of the inversion and their bounds, derived from the curve.
//
// N layers over a half-space (N from the span of wavelengths λ = v / f:
// one layer per factor 3 between the shortest and the longest, rounded,
// 2 to 5). Free per model: the depths of the N interfaces, between a
// quarter of the shortest wavelength and half the longest (the depth MASW
// practice takes a curve to reach), spread in log depth, each at least
// 1.5 times as deep as the one above (thinner layers deep down are beyond
// what a curve resolves, and only make false minima); the S velocity of
// each layer, from 0.8 times the lowest to 1.5 times the highest phase
// velocity of the curve, each on its own (a velocity may fall with depth);
// that of the half-space from the velocity of the layer above it to the
// same top (a slower half-space below the deepest interface is what a
// curve ending there cannot tell from a faster one, and lets deep layers
// trade against it); one Poisson's ratio for the whole profile, 0.2 to
// 0.495, which gives vp (the curve hardly resolves vp layer by layer).
// The density is 1900 kg/m³ throughout (the curve depends on density
// contrasts, barely on the value).

#include <vector>

#include "inversion/layered_model.h"
#include "inversion/observed_curve.h"

namespace zentrova {

inline constexpr double kProfileDensity = 1900.0;
inline constexpr int kMinSearchLayers = 1;
inline constexpr int kMaxSearchLayers = 6;

struct ProfileBounds {
  int layers = 0;  // over the half-space
  double topDepth = 0.0, bottomDepth = 0.0;  // range of the interface depths, m
  double vsMin = 0.0, vsMax = 0.0;           // m/s
  double poissonMin = 0.2, poissonMax = 0.495;
};

// Bounds for a curve that CheckCurve accepts; `layers` 0 chooses the count
// by the rule above, others are limited to kMinSearchLayers ..
// kMaxSearchLayers.
ProfileBounds BoundsForCurve(const ObservedCurve& curve, int layers);

// One point of the search: each value in [0, 1] across its bound, in the
// order interface depths (N), S velocities (N + 1), Poisson's ratio.
using ProfilePoint = std::vector<double>;

int PointSize(const ProfileBounds& bounds);

// The layered model of a point: interface depths sorted and spaced, vp
// from vs and Poisson's ratio.
LayeredModel ModelAt(const ProfileBounds& bounds, const ProfilePoint& point);

// vp of an S velocity and a Poisson's ratio ν: vs sqrt((2 - 2ν) / (1 - 2ν)).
double VpFromPoisson(double vs, double poisson);

}  // namespace zentrova
