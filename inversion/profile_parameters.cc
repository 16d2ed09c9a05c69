#include "inversion/profile_parameters.h"

#include <algorithm>
#include <cmath>

namespace zentrova {
namespace {

constexpr double kInterfaceSpacing = 1.5;

double Across(double lo, double hi, double unit) { return lo + (hi - lo) * std::clamp(unit, 0.0, 1.0); }

}  // namespace

ProfileBounds BoundsForCurve(const ObservedCurve& curve, int layers) {
  ProfileBounds b;
  const double shortest = ShortestWavelength(curve), longest = LongestWavelength(curve);
  b.layers = layers > 0 ? std::clamp(layers, kMinSearchLayers, kMaxSearchLayers)
                        : std::clamp(static_cast<int>(std::lround(std::log(longest / shortest) / std::log(3.0))), 2, 5);
  b.bottomDepth = longest / 2.0;
  b.topDepth = std::min(shortest / 4.0, b.bottomDepth / std::pow(kInterfaceSpacing, b.layers + 1));
  double vmin = curve.front().velocity, vmax = vmin;
  for (const ObservedPoint& p : curve) {
    vmin = std::min(vmin, p.velocity);
    vmax = std::max(vmax, p.velocity);
  }
  b.vsMin = 0.8 * vmin;
  b.vsMax = 1.5 * vmax;
  return b;
}

int PointSize(const ProfileBounds& bounds) { return 2 * bounds.layers + 2; }

double VpFromPoisson(double vs, double poisson) { return vs * std::sqrt((2.0 - 2.0 * poisson) / (1.0 - 2.0 * poisson)); }

LayeredModel ModelAt(const ProfileBounds& b, const ProfilePoint& point) {
  const int n = b.layers;
  std::vector<double> depth(static_cast<size_t>(n));
  const double logTop = std::log(b.topDepth), logBottom = std::log(b.bottomDepth);
  for (int i = 0; i < n; ++i) depth[i] = std::exp(Across(logTop, logBottom, point[i]));
  std::sort(depth.begin(), depth.end());
  for (int i = 1; i < n; ++i) depth[i] = std::max(depth[i], depth[i - 1] * kInterfaceSpacing);
  depth[n - 1] = std::min(depth[n - 1], b.bottomDepth);
  for (int i = n - 2; i >= 0; --i) depth[i] = std::min(depth[i], depth[i + 1] / kInterfaceSpacing);
  LayeredModel model;
  double top = 0.0;
  const double poisson = Across(b.poissonMin, b.poissonMax, point[2 * n + 1]);
  for (int i = 0; i <= n; ++i) {
    // The half-space from the velocity of the layer above it up.
    const double vs = i < n ? Across(b.vsMin, b.vsMax, point[n + i]) : Across(model.back().vs, b.vsMax, point[n + i]);
    const double bottom = i < n ? depth[i] : top;
    model.push_back({bottom - top, VpFromPoisson(vs, poisson), vs, kProfileDensity});
    top = bottom;
  }
  model.back().thickness = 0.0;
  return model;
}

}  // namespace zentrova
