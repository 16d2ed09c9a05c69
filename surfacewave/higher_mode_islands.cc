#include "surfacewave/higher_mode_islands.h"

#include <algorithm>

namespace zentrova {

double Island::Expected(double frequency) const {
  if (toFrequency == fromFrequency) return fromVelocity;
  const double t = (frequency - fromFrequency) / (toFrequency - fromFrequency);
  return fromVelocity + t * (toVelocity - fromVelocity);
}

std::vector<Island> FindHigherModeIslands(const std::vector<IslandRow>& rows) {
  std::vector<int> picked;
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    if (rows[r].velocity > 0.0) picked.push_back(r);
  }
  std::vector<Island> islands;
  const int n = static_cast<int>(picked.size());
  const auto v = [&](int i) { return rows[picked[i]].velocity; };
  for (int i = 1; i + 1 < n;) {
    if (v(i) < kIslandJump * v(i - 1)) {
      ++i;
      continue;
    }
    // A jump up at i: the stretch runs until the next jump down.
    int j = i;
    double slowest = v(i);
    while (j + 1 < n && v(j + 1) * kIslandJump > v(j)) slowest = std::min(slowest, v(++j));
    if (j + 1 < n && slowest >= kIslandJump * std::max(v(i - 1), v(j + 1))) {
      const IslandRow& from = rows[picked[i - 1]];
      const IslandRow& to = rows[picked[j + 1]];
      islands.push_back({picked[i - 1] + 1, picked[j + 1] - 1, from.frequency, from.velocity, to.frequency,
                         to.velocity});
      i = j + 1;
    } else {
      ++i;
    }
  }
  return islands;
}

}  // namespace zentrova
