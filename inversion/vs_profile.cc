#include "inversion/vs_profile.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "inversion/curve_misfit.h"
#include "inversion/profile_parameters.h"
#include "inversion/profile_search.h"

namespace zentrova {
namespace {

constexpr int kGridSteps = 300;
constexpr double kAcceptFactor = 1.2;

std::vector<DepthRange> Ranges(const std::vector<LayeredModel>& accepted, double bottom) {
  std::vector<DepthRange> out;
  for (int i = 0; i <= kGridSteps; ++i) {
    DepthRange r;
    r.depth = bottom * i / kGridSteps;
    r.vsMin = std::numeric_limits<double>::infinity();
    r.vsMax = 0.0;
    for (const LayeredModel& m : accepted) {
      const double vs = VsAtDepth(m, r.depth);
      r.vsMin = std::min(r.vsMin, vs);
      r.vsMax = std::max(r.vsMax, vs);
    }
    out.push_back(r);
  }
  return out;
}

// The widest range over the grid's depths from `top` to `bottom`.
DepthRange RangeOver(const VsProfile& p, double top, double bottom) {
  DepthRange r = RangeAtDepth(p, top);
  for (const DepthRange& g : p.ranges) {
    if (g.depth < top || g.depth > bottom) continue;
    r.vsMin = std::min(r.vsMin, g.vsMin);
    r.vsMax = std::max(r.vsMax, g.vsMax);
  }
  return r;
}

void DescribeLayers(VsProfile& p) {
  double top = 0.0;
  for (size_t i = 0; i < p.best.size(); ++i) {
    const ElasticLayer& l = p.best[i];
    const bool halfSpace = i + 1 == p.best.size();
    ProfileLayer out;
    out.top = top;
    out.bottom = halfSpace ? std::numeric_limits<double>::infinity() : top + l.thickness;
    out.vs = l.vs;
    out.vp = l.vp;
    out.density = l.density;
    const DepthRange r = halfSpace ? RangeOver(p, top, std::max(top, p.resolvedDepth))
                                   : RangeAtDepth(p, 0.5 * (out.top + out.bottom));
    out.vsMin = r.vsMin;
    out.vsMax = r.vsMax;
    p.layers.push_back(out);
    top = out.bottom;
  }
}

}  // namespace

double VsAtDepth(const LayeredModel& model, double depth) {
  double bottom = 0.0;
  for (size_t i = 0; i + 1 < model.size(); ++i) {
    bottom += model[i].thickness;
    if (depth <= bottom) return model[i].vs;
  }
  return model.empty() ? 0.0 : model.back().vs;
}

DepthRange RangeAtDepth(const VsProfile& profile, double depth) {
  if (profile.ranges.empty()) return {depth, 0.0, 0.0};
  const auto it = std::lower_bound(profile.ranges.begin(), profile.ranges.end(), depth,
                                   [](const DepthRange& r, double d) { return r.depth < d; });
  DepthRange r = it == profile.ranges.end() ? profile.ranges.back() : *it;
  r.depth = depth;
  return r;
}

VsProfile InvertCurve(const ObservedCurve& input, const InversionOptions& options) {
  VsProfile p;
  p.seed = options.seed;
  p.error = CheckCurve(input);
  if (!p.error.empty()) return p;
  p.curve = SortedByFrequency(input);
  const ProfileBounds bounds = BoundsForCurve(p.curve, options.layers);
  const ObservedCurve fitted = Thinned(p.curve, std::clamp(options.searchPoints, 4, kMaxCurvePoints));
  const SearchOutcome found =
      SearchProfiles(bounds, fitted, std::clamp(options.models, 100, 200000), options.seed, options.keepGoing);
  p.stopped = found.stopped;
  p.modelsTried = static_cast<int>(found.models.size());
  const auto best = std::min_element(found.models.begin(), found.models.end(),
                                     [](const SearchedModel& a, const SearchedModel& b) { return a.misfit < b.misfit; });
  if (best == found.models.end() || !std::isfinite(best->misfit)) {
    p.error = p.stopped ? "the search was stopped before it found a model" : "no model fits the curve";
    return p;
  }
  p.acceptBound = std::max(1.0, kAcceptFactor * best->misfit);
  std::vector<LayeredModel> accepted;
  p.vs30Min = std::numeric_limits<double>::infinity();
  for (const SearchedModel& m : found.models) {
    if (m.misfit > p.acceptBound) continue;
    accepted.push_back(ModelAt(bounds, m.point));
    const double vs30 = TimeAveragedVs(accepted.back(), kVs30Depth);
    p.vs30Min = std::min(p.vs30Min, vs30);
    p.vs30Max = std::max(p.vs30Max, vs30);
  }
  p.modelsAccepted = static_cast<int>(accepted.size());
  p.best = ModelAt(bounds, best->point);
  p.bestCurve = FundamentalAt(p.best, p.curve);
  p.misfit = CurveMisfit(p.curve, p.bestCurve);
  p.vs30 = TimeAveragedVs(p.best, kVs30Depth);
  p.resolvedDepth = LongestWavelength(p.curve) / 2.0;
  p.vs30Extrapolated = p.resolvedDepth < kVs30Depth;
  p.ranges = Ranges(accepted, std::max(kVs30Depth, bounds.bottomDepth));
  DescribeLayers(p);
  return p;
}

}  // namespace zentrova
