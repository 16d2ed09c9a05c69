#include "inversion/observed_curve.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zentrova {
namespace {

bool Positive(double v) { return std::isfinite(v) && v > 0.0; }

std::string Number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}

}  // namespace

std::string CheckCurve(const ObservedCurve& curve) {
  if (curve.size() < static_cast<size_t>(kMinCurvePoints)) {
    return "the curve has " + std::to_string(curve.size()) + " points; the inversion needs " +
           std::to_string(kMinCurvePoints) + " or more";
  }
  if (curve.size() > static_cast<size_t>(kMaxCurvePoints)) {
    return "the curve has more than " + std::to_string(kMaxCurvePoints) + " points";
  }
  for (size_t i = 0; i < curve.size(); ++i) {
    const ObservedPoint& p = curve[i];
    const std::string which = "point " + std::to_string(i + 1);
    if (!Positive(p.frequency)) return which + " has no positive frequency";
    if (!Positive(p.velocity)) return which + " has no positive velocity";
    if (!Positive(p.sigma)) return which + " has no positive sigma (an uncertainty of 0 would fix the curve exactly)";
  }
  const ObservedCurve sorted = SortedByFrequency(curve);
  for (size_t i = 1; i < sorted.size(); ++i) {
    if (sorted[i].frequency == sorted[i - 1].frequency) {
      return "the frequency " + Number(sorted[i].frequency) + " Hz is given twice";
    }
  }
  const auto [lo, hi] = std::minmax_element(curve.begin(), curve.end(), [](const ObservedPoint& a, const ObservedPoint& b) {
    return a.velocity < b.velocity;
  });
  const double span = hi->velocity / lo->velocity;
  if (span < 1.0 + kMinVelocitySpan) {
    return "the curve is flat (" + Number(lo->velocity) + " to " + Number(hi->velocity) +
           " m/s): it shows no change with depth";
  }
  if (span > kMaxVelocitySpan) {
    return "the velocities span a factor " + Number(span) + " (" + Number(lo->velocity) + " to " +
           Number(hi->velocity) + " m/s), more than one mode of real ground spans";
  }
  return "";
}

ObservedCurve SortedByFrequency(ObservedCurve curve) {
  std::stable_sort(curve.begin(), curve.end(),
                   [](const ObservedPoint& a, const ObservedPoint& b) { return a.frequency < b.frequency; });
  return curve;
}

ObservedCurve Thinned(const ObservedCurve& sorted, int count) {
  if (count < 2 || sorted.size() <= static_cast<size_t>(count)) return sorted;
  ObservedCurve out;
  const double last = static_cast<double>(sorted.size() - 1);
  for (int i = 0; i < count; ++i) {
    out.push_back(sorted[static_cast<size_t>(std::lround(last * i / (count - 1)))]);
  }
  return out;
}

double ShortestWavelength(const ObservedCurve& curve) {
  double shortest = 0.0;
  for (const ObservedPoint& p : curve) {
    const double w = p.velocity / p.frequency;
    if (shortest == 0.0 || w < shortest) shortest = w;
  }
  return shortest;
}

double LongestWavelength(const ObservedCurve& curve) {
  double longest = 0.0;
  for (const ObservedPoint& p : curve) longest = std::max(longest, p.velocity / p.frequency);
  return longest;
}

}  // namespace zentrova
