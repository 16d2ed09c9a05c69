#include "inversion/profile_search.h"

#include <algorithm>
#include <cmath>

#include "inversion/curve_misfit.h"
#include "inversion/least_squares_polish.h"
#include "inversion/search_random.h"

namespace zentrova {
namespace {

constexpr size_t kElite = 20;
constexpr double kFirstStep = 0.2, kLastStep = 0.02;

double Reflect(double x) {
  if (x < 0.0) x = -x;
  if (x > 1.0) x = 2.0 - x;
  return std::clamp(x, 0.0, 1.0);
}

ProfilePoint Uniform(SearchRandom& random, int size) {
  ProfilePoint p(static_cast<size_t>(size));
  for (double& v : p) v = random.Uniform();
  return p;
}

ProfilePoint Neighbour(SearchRandom& random, const ProfilePoint& parent, double step) {
  ProfilePoint child = parent;
  const size_t forced = static_cast<size_t>(random.Uniform() * static_cast<double>(child.size()));
  for (size_t i = 0; i < child.size(); ++i) {
    if (i == forced || random.Uniform() < 1.0 / 3.0) child[i] = Reflect(child[i] + step * random.Normal());
  }
  return child;
}

// Indices of the best models, best first, at most kElite.
void Admit(std::vector<size_t>& elite, const std::vector<SearchedModel>& models, size_t index) {
  const auto worse = [&](size_t a, size_t b) { return models[a].misfit < models[b].misfit; };
  if (elite.size() == kElite && !worse(index, elite.back())) return;
  elite.insert(std::upper_bound(elite.begin(), elite.end(), index, worse), index);
  if (elite.size() > kElite) elite.pop_back();
}

constexpr size_t kPolishStarts = 5;
constexpr double kApart = 0.25;

// (observed - computed) / sigma at each point of the curve; empty for a
// point whose model cannot carry waves.
std::vector<double> Residuals(const ProfileBounds& bounds, const ObservedCurve& curve, const ProfilePoint& point) {
  const LayeredModel model = ModelAt(bounds, point);
  if (!CheckModel(model).empty()) return {};
  const std::vector<double> computed = FundamentalAt(model, curve);
  std::vector<double> r(curve.size());
  for (size_t i = 0; i < curve.size(); ++i) r[i] = (curve[i].velocity - computed[i]) / curve[i].sigma;
  return r;
}

// Damped least squares from each of the best few models in turn, each
// with an equal share of the budget: the two best of all, and the best of
// the uniform draws that lie apart from those already chosen (other
// basins of the misfit).
void Polish(const ProfileBounds& bounds, const ObservedCurve& curve, const std::vector<size_t>& elite, size_t uniform,
            int budget, const std::function<bool()>& keepGoing, SearchOutcome& out) {
  std::vector<ProfilePoint> starts;
  for (size_t i = 0; i < elite.size() && starts.size() < 2; ++i) starts.push_back(out.models[elite[i]].point);
  std::vector<size_t> drawn(std::min(uniform, out.models.size()));
  for (size_t i = 0; i < drawn.size(); ++i) drawn[i] = i;
  std::sort(drawn.begin(), drawn.end(), [&](size_t a, size_t b) { return out.models[a].misfit < out.models[b].misfit; });
  for (size_t index : drawn) {
    if (starts.size() >= kPolishStarts) break;
    const ProfilePoint& p = out.models[index].point;
    const bool apart = std::all_of(starts.begin(), starts.end(), [&](const ProfilePoint& q) {
      double d = 0.0;
      for (size_t k = 0; k < p.size(); ++k) d += (p[k] - q[k]) * (p[k] - q[k]);
      return std::sqrt(d / static_cast<double>(p.size())) > kApart;
    });
    if (apart) starts.push_back(p);
  }
  PolishBudget share;
  share.evaluations = budget / static_cast<int>(std::max<size_t>(1, starts.size()));
  share.keepGoing = [&] {
    if (!keepGoing || keepGoing()) return true;
    out.stopped = true;
    return false;
  };
  for (const ProfilePoint& start : starts) {
    PolishLeastSquares([&](const std::vector<double>& x) { return Residuals(bounds, curve, x); }, start, share,
                       [&](const std::vector<double>& x, double rms) { out.models.push_back({x, rms}); });
    if (out.stopped) return;
  }
}

}  // namespace

SearchOutcome SearchProfiles(const ProfileBounds& bounds, const ObservedCurve& curve, int models, uint64_t seed,
                             const std::function<bool()>& keepGoing) {
  SearchOutcome out;
  SearchRandom random(seed);
  const int total = std::max(1, models);
  const int uniform = std::max(1, total * 3 / 10);
  const int polish = total * 3 / 10;
  const int explore = total - polish;
  const int size = PointSize(bounds);
  std::vector<size_t> elite;
  out.models.reserve(static_cast<size_t>(total));
  for (int i = 0; i < explore; ++i) {
    if (keepGoing && !keepGoing()) {
      out.stopped = true;
      break;
    }
    ProfilePoint point;
    if (i < uniform || elite.empty()) {
      point = Uniform(random, size);
    } else {
      const double progress = static_cast<double>(i - uniform) / std::max(1, explore - uniform);
      const double step = kFirstStep * std::pow(kLastStep / kFirstStep, progress);
      const double pick = random.Uniform();
      const size_t parent = elite[static_cast<size_t>(pick * pick * static_cast<double>(elite.size()))];
      point = Neighbour(random, out.models[parent].point, step);
    }
    const double misfit = ModelMisfit(ModelAt(bounds, point), curve);
    out.models.push_back({std::move(point), misfit});
    Admit(elite, out.models, out.models.size() - 1);
  }
  if (!out.stopped && !elite.empty()) Polish(bounds, curve, elite, static_cast<size_t>(uniform), total - explore, keepGoing, out);
  return out;
}

}  // namespace zentrova
