#include "surfacewave/curve_path.h"

#include <cmath>
#include <limits>

namespace zentrova {
namespace {

// Leaving the largest value for a peak of kSecondPeakShare of it costs as
// much as one full jump.
constexpr double kValueWeight = 1.0;

double Change(const RowMember& from, const RowMember& to, double period) {
  constexpr double kFastest = 1e-6;  // s/m: 1000 km/s
  const double relative = std::fabs(std::log(std::fmax(to.principal, kFastest) / std::fmax(from.principal, kFastest)));
  const double periods = period > 0.0 && std::isfinite(period) ? std::fabs(to.slowness - from.slowness) / period : 0.0;
  return std::fmin(periods, 1.0) + std::fmin(relative, 1.0);
}

double Leaving(const RowMember& m, float largest) {
  return largest > 0.0f ? kValueWeight * std::fmax(0.0, 1.0 - m.value / largest) : 0.0;
}

}  // namespace

std::vector<int> ChooseCurvePath(const std::vector<RowOffer>& rows) {
  const size_t count = rows.size();
  std::vector<int> chosen(count, -1);
  // cost[r][m]: the least cost of a path ending at member m of row r;
  // from[r][m]: the member of the previous row with members on that path.
  std::vector<std::vector<double>> cost(count);
  std::vector<std::vector<int>> from(count);
  std::vector<int> before(count, -1);  // the previous row with members
  int previous = -1;
  for (size_t r = 0; r < count; ++r) {
    const RowOffer& here = rows[r];
    cost[r].assign(here.members.size(), 0.0);
    from[r].assign(here.members.size(), -1);
    if (here.members.empty()) continue;
    before[r] = previous;
    for (size_t m = 0; m < here.members.size(); ++m) {
      double best = previous < 0 ? 0.0 : std::numeric_limits<double>::infinity();
      for (size_t p = 0; previous >= 0 && p < rows[previous].members.size(); ++p) {
        const double c =
            cost[previous][p] + Change(rows[previous].members[p], here.members[m], here.period);
        if (c < best) {  // the earlier member of equal cost stays
          best = c;
          from[r][m] = static_cast<int>(p);
        }
      }
      cost[r][m] = best + Leaving(here.members[m], here.largest);
    }
    previous = static_cast<int>(r);
  }
  if (previous < 0) return chosen;
  int m = 0;
  for (size_t k = 1; k < cost[previous].size(); ++k) {
    if (cost[previous][k] < cost[previous][m]) m = static_cast<int>(k);
  }
  for (int r = previous; r >= 0 && m >= 0; r = before[r]) {
    chosen[r] = m;
    m = from[r][m];
  }
  return chosen;
}

}  // namespace zentrova
