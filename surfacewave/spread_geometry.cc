#include "surfacewave/spread_geometry.h"

#include <algorithm>
#include <cmath>

namespace zentrova {
namespace {

double SmallestSpacing(std::vector<double> positions) {
  std::sort(positions.begin(), positions.end());
  double smallest = 0.0;
  for (size_t i = 1; i < positions.size(); ++i) {
    const double gap = positions[i] - positions[i - 1];
    if (gap > 0.0 && (smallest == 0.0 || gap < smallest)) smallest = gap;
  }
  return smallest;
}

// Whether every position lies a whole number of `spacing`s from the first
// (within a hundredth of it).
bool OnOneGrid(const std::vector<double>& positions, double spacing) {
  if (!(spacing > 0.0)) return false;
  for (double p : positions) {
    const double steps = (p - positions.front()) / spacing;
    if (std::fabs(steps - std::round(steps)) > 0.01) return false;
  }
  return true;
}

}  // namespace

SpreadGeometry MeasureSpread(const std::vector<ReceiverPlace>& places, int louderDirection) {
  SpreadGeometry g;
  if (places.empty()) return g;
  std::vector<double> positions;
  for (const ReceiverPlace& p : places) positions.push_back(p.position);
  const auto [low, high] = std::minmax_element(positions.begin(), positions.end());
  g.length = *high - *low;
  g.smallestSpacing = SmallestSpacing(positions);
  g.aliasSpacing = OnOneGrid(positions, g.smallestSpacing) ? g.smallestSpacing : 0.0;
  const double first = positions.front(), last = positions.back();
  const double source = places.front().source;
  g.fromSource = places.front().sourceGiven && (source < *low || source > *high);
  if (g.fromSource) {
    g.direction = std::fabs(source - first) <= std::fabs(source - last) ? 0 : 1;
    for (double p : positions) g.distance.push_back(std::fabs(p - source));
    return g;
  }
  g.direction = louderDirection == 1 ? 1 : 0;
  const double end = g.direction == 0 ? first : last;
  for (double p : positions) g.distance.push_back(std::fabs(p - end));
  return g;
}

}  // namespace zentrova
