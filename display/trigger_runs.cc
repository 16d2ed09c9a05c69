#include "display/trigger_runs.h"

#include <algorithm>
#include <cmath>

namespace zentrova {

std::vector<TriggerRun> TriggerRuns(const float* times, int count, double gap) {
  std::vector<TriggerRun> runs;
  const bool byGap = gap > 0.0 && std::isfinite(gap);
  for (int k = 0; k < count; ++k) {
    const float t = times[k];
    if (!std::isfinite(t)) continue;
    const bool joins = !runs.empty() && (byGap ? static_cast<double>(t) - runs.back().last <= gap : t == runs.back().last);
    if (joins) {
      runs.back().last = t;
    } else {
      runs.push_back({t, t});
    }
  }
  return runs;
}

double TriggerRunGap(float sampleIntervalMicroseconds, float window1Ms, float window2Ms) {
  const double samples = 1.5 * static_cast<double>(sampleIntervalMicroseconds) / 1.0e6;
  const double windows = std::max(static_cast<double>(window1Ms), static_cast<double>(window2Ms)) / 1000.0;
  return std::isfinite(windows) ? std::max(samples, windows) : samples;
}

}  // namespace zentrova
