#include "surfacewave/initial_model.h"

#include <algorithm>

#include "platform/printf.h"
#include "surfacewave/text_file.h"

namespace zentrova {

std::vector<double> LayerDepths(int n) {
  constexpr double kDepthScale = 15.0, kFirstLayer = 0.5, kStretch = 3.0;
  constexpr double kGrowth = 2.0 - 2.0 * kFirstLayer;
  std::vector<double> bottom(n);
  const double t = kFirstLayer * kDepthScale / (n - 1);
  bottom[0] = t;
  for (int i = 1; i < n; ++i) {
    const double q = i * kDepthScale / (n - 1) / (n - 2);
    bottom[i] = i == n - 2 ? bottom[i - 1] + kStretch * kGrowth * (t + q) : bottom[i - 1] + t + kGrowth * q;
  }
  return bottom;
}

bool AcceptedPick(float frequency, float velocity) {
  if (!(frequency >= 4.5f)) return false;
  const float lambda = velocity / frequency;
  return lambda >= 2.0f && lambda <= 46.0f;
}

int BuildInitialModel(SurfaceWaveResult& result, FileSystem& fs, const std::string& folder,
                      const DispersionCurve* curve) {
  const int n = std::clamp(result.nLayers, 3, kMaxLayers);
  result.nLayers = n;
  const int picks = std::clamp(result.nPicks, 0, kMaxPicks);
  const std::vector<double> depth = LayerDepths(n);
  std::string text = Printf("ndata=%d nlayer=%d\r\n", picks, n);

  struct Accepted {
    float velocity;
    float depth;
  };
  std::vector<Accepted> accepted;
  float largest = 0.0f;
  for (int i = 0; i < picks; ++i) {
    const float f = result.fPickFrequency[i], v = result.fPickVelocity[i];
    if (curve && (i >= static_cast<int>(curve->size()) || !(*curve)[i].resolved)) continue;
    if (!AcceptedPick(f, v)) continue;
    const float z = v / f / 3.0f;
    text += Printf(" %d %d %f %f %f \r\n", i, static_cast<int>(accepted.size()), f, v, z);
    accepted.push_back({v, z});
    largest = std::max(largest, v);
  }

  for (int i = 0; i < n; ++i) {
    const double top = i == 0 ? 0.0 : depth[i - 1];
    int count = 0;
    double sum = 0.0;
    for (const Accepted& a : accepted) {
      if (a.depth > top && a.depth <= depth[i]) {
        ++count;
        sum += a.velocity;
      }
    }
    double v = 0.0;
    if (count > 0) {
      v = sum / count;
    } else if (!accepted.empty()) {
      // The top layer without picks takes the shallowest (last) pick, the
      // layers below the deepest (first) pick take that one, and a layer
      // in a gap between picks is marked -1 and takes the layer above's.
      v = i == 0 ? accepted.back().velocity : i == n - 1 ? accepted.front().velocity : -1.0;
      if (accepted.front().depth < depth[i]) v = accepted.front().velocity;
    }
    v /= kRayleighToShear;
    result.fVs[i] = static_cast<float>(v);
    result.fLayerBottom[i] = static_cast<float>(depth[i]);
    text += Printf(" %d %d %f %f %f %f \r\n", i, count, sum, top, depth[i], v);
  }
  result.fVs[n - 1] = largest / kRayleighToShear;
  result.fLayerBottom[n - 1] = kHalfSpaceBottom;
  for (int i = 1; i < n; ++i) {
    if (result.fVs[i] < 0.0f) result.fVs[i] = result.fVs[i - 1];
    text += Printf(" %d %f \r\n", i, result.fVs[i]);
  }
  for (int i = 0; i < n; ++i) text += Printf(" %d %f %f\r\n", i, result.fVs[i], result.fLayerBottom[i]);
  if (!folder.empty()) ReplaceTextFile(fs, folder + fs.Separator() + kModelFileName, text);
  return accepted.empty() ? 0 : 1;
}

}  // namespace zentrova
