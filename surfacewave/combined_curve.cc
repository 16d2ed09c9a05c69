#include "surfacewave/combined_curve.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace zentrova {
namespace {

// The resolved velocity of `curve` at `frequency`, if it has one.
std::optional<double> ResolvedAt(const DispersionCurve& curve, double frequency) {
  const auto above = std::lower_bound(curve.begin(), curve.end(), frequency,
                                      [](const CurvePoint& p, double f) { return p.frequency < f; });
  const double close = 1e-9 * std::max(1.0, frequency);
  if (above != curve.end() && std::fabs(above->frequency - frequency) <= close) {
    if (above->resolved) return above->velocity;
    return std::nullopt;
  }
  if (above == curve.begin() || above == curve.end()) return std::nullopt;
  const CurvePoint& lo = *std::prev(above);
  const CurvePoint& hi = *above;
  if (!lo.resolved || !hi.resolved) return std::nullopt;
  const double t = (frequency - lo.frequency) / (hi.frequency - lo.frequency);
  return lo.velocity + t * (static_cast<double>(hi.velocity) - lo.velocity);
}

}  // namespace

std::vector<CombinedPoint> CombineShots(const std::vector<DispersionCurve>& shots) {
  std::vector<CombinedPoint> out;
  if (shots.size() < 2) return out;
  const int needed = static_cast<int>(std::min<size_t>(3, shots.size()));
  for (const CurvePoint& row : shots.front()) {
    std::vector<double> values;
    for (const DispersionCurve& shot : shots) {
      if (const auto v = ResolvedAt(shot, row.frequency)) values.push_back(*v);
    }
    if (static_cast<int>(values.size()) < needed) continue;
    CombinedPoint p;
    p.frequency = row.frequency;
    p.count = static_cast<int>(values.size());
    double sum = 0.0;
    for (double v : values) sum += v;
    p.velocity = sum / p.count;
    double squares = 0.0;
    for (double v : values) squares += (v - p.velocity) * (v - p.velocity);
    p.std = p.count > 1 ? std::sqrt(squares / (p.count - 1)) : 0.0;
    out.push_back(p);
  }
  return out;
}

}  // namespace zentrova
