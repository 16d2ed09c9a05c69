#include "surfacewave/phase_shift_stack.h"

#include <cmath>
#include <cstddef>
#include <numbers>

namespace zentrova {

float ColumnVelocity(int l, float velocityMin, float velocityStep) {
  const float v = (static_cast<float>(l) * velocityStep + velocityMin) * 1000.0f;
  return v == 0.0f ? 0.1f : v;
}

std::vector<float> PhaseShiftStack(const PhaseShiftInput& in) {
  const int U = in.traces, R = in.rows, V = in.columns;
  if (U <= 0 || R <= 0 || V <= 0) return std::vector<float>(static_cast<size_t>(std::max(R, 0)) * std::max(V, 0), 0.0f);
  const size_t cells = static_cast<size_t>(R) * V;
  std::vector<double> sumRe(cells, 0.0), sumIm(cells, 0.0);
  std::vector<double> phRe(V), phIm(V), rotRe(V), rotIm(V);
  // The phase grows by the same angle from one row to the next (rows are
  // equally spaced in frequency), so each column turns a phasor row by row
  // instead of taking a sine and cosine per cell.
  const double rowOmega = 2.0 * std::numbers::pi * in.frequencyStep * in.binStep;
  for (int u = 0; u < U; ++u) {
    const double d = in.distance[u];
    for (int l = 0; l < V; ++l) {
      const double step = d / ColumnVelocity(l, in.velocityMin, in.velocityStep) * rowOmega;
      rotRe[l] = std::cos(step);
      rotIm[l] = std::sin(step);
      phRe[l] = 1.0;
      phIm[l] = 0.0;
    }
    const std::vector<float>& re = (*in.re)[u];
    const std::vector<float>& im = (*in.im)[u];
    for (int r = 0; r < R; ++r) {
      const size_t bin = static_cast<size_t>(r) * in.binStep;
      double sr = re[bin], si = im[bin];
      const double mag = std::hypot(sr, si);
      if (mag > 0.0) {
        sr /= mag;
        si /= mag;
      } else {
        sr = si = 0.0;
      }
      double* accRe = &sumRe[static_cast<size_t>(r) * V];
      double* accIm = &sumIm[static_cast<size_t>(r) * V];
      for (int l = 0; l < V; ++l) {
        accRe[l] += sr * phRe[l] - si * phIm[l];
        accIm[l] += sr * phIm[l] + si * phRe[l];
        const double nr = phRe[l] * rotRe[l] - phIm[l] * rotIm[l];
        phIm[l] = phRe[l] * rotIm[l] + phIm[l] * rotRe[l];
        phRe[l] = nr;
      }
    }
  }
  std::vector<float> image(cells);
  for (size_t c = 0; c < cells; ++c) image[c] = static_cast<float>(std::hypot(sumRe[c], sumIm[c]) / U);
  return image;
}

}  // namespace zentrova
