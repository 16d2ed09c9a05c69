#pragma once
// Higher-mode islands in a picked curve. The fundamental Rayleigh mode is
// the slowest mode at every frequency; where a higher mode stands out over
// it for a stretch of frequencies, the curve jumps up to a faster branch and
// later comes back down. Over such a stretch the fundamental is taken from
// the row's own peak nearest the line between the stretch's two ends.

#include <vector>

namespace zentrova {

// A curve as rows: each row's frequency and picked velocity (0: no pick).
struct IslandRow {
  double frequency = 0.0;
  double velocity = 0.0;
};

struct Island {
  int first = 0;  // rows first .. last stand above the fundamental
  int last = 0;
  double fromFrequency = 0.0, fromVelocity = 0.0;  // the picked rows on either side
  double toFrequency = 0.0, toVelocity = 0.0;
  // The fundamental's velocity expected at a frequency inside the island.
  double Expected(double frequency) const;
};

// A stretch counts as an island when it begins with a jump up and ends
// before a jump down (each by kIslandJump or more, with no such jump down
// inside) and every pick in it is at least kIslandJump times as fast as the
// picks on both sides. Rows without a pick inside a stretch belong to it.
inline constexpr double kIslandJump = 1.4;
std::vector<Island> FindHigherModeIslands(const std::vector<IslandRow>& rows);

}  // namespace zentrova
