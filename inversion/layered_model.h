#pragma once
// Flat elastic layers over a half-space, the ground of a surface-wave
// forward model: from the surface down, the last one the half-space.

#include <string>
#include <vector>

namespace zentrova {

struct ElasticLayer {
  double thickness = 0.0;  // m; not used for the half-space
  double vp = 0.0;         // P-wave velocity, m/s
  double vs = 0.0;         // S-wave velocity, m/s
  double density = 0.0;    // kg/m³
};

// Top layer first; the last element is the half-space.
using LayeredModel = std::vector<ElasticLayer>;

inline constexpr int kMaxModelLayers = 64;

// Empty when the model can carry Rayleigh waves: at least the half-space,
// at most kMaxModelLayers elements, every value finite, velocities and
// densities positive, vp at least 1.2 vs (a positive bulk modulus with a
// margin; real ground has vp/vs of 1.4 and more), layer thicknesses
// positive; otherwise why not, in one line.
std::string CheckModel(const LayeredModel& model);

// The time-averaged S-wave velocity of the top `depth` metres,
// depth / Σ h_i / vs_i, the half-space continued down to `depth`. 0 for a
// model that CheckModel refuses or a depth that is not positive.
double TimeAveragedVs(const LayeredModel& model, double depth);

}  // namespace zentrova
