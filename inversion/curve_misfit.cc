#include "inversion/curve_misfit.h"

#include <cmath>
#include <limits>

#include "inversion/rayleigh_modes.h"

namespace zentrova {

std::vector<double> FundamentalAt(const LayeredModel& model, const ObservedCurve& curve) {
  std::vector<double> f, out;
  for (const ObservedPoint& p : curve) f.push_back(p.frequency);
  if (!CheckModel(model).empty()) return std::vector<double>(curve.size(), 0.0);
  ModeSearch search;
  search.higherMode = false;
  search.tolerance = 1e-7;
  for (const RayleighModes& m : RayleighPhaseVelocities(model, f, search)) out.push_back(m.fundamental);
  return out;
}

double CurveMisfit(const ObservedCurve& curve, const std::vector<double>& computed) {
  if (curve.empty() || computed.size() != curve.size()) return std::numeric_limits<double>::infinity();
  double sum = 0.0;
  for (size_t i = 0; i < curve.size(); ++i) {
    const double r = (curve[i].velocity - computed[i]) / curve[i].sigma;
    sum += r * r;
  }
  return std::sqrt(sum / static_cast<double>(curve.size()));
}

double ModelMisfit(const LayeredModel& model, const ObservedCurve& curve) {
  if (!CheckModel(model).empty()) return std::numeric_limits<double>::infinity();
  return CurveMisfit(curve, FundamentalAt(model, curve));
}

}  // namespace zentrova
