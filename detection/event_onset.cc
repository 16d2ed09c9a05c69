#include "detection/event_onset.h"

#include <algorithm>

namespace zentrova {

int64_t ChannelOnset(const float* x, int64_t k, int64_t L1, int64_t L2, double ratio) {
  if (L1 <= 0 || L2 <= 0) return k;
  double s1 = 0.0;
  for (int64_t i = k - L1; i < k; ++i) s1 += static_cast<double>(x[i]) * static_cast<double>(x[i]);
  const double background = s1 / static_cast<double>(L1);
  if (!(background > 0.0)) return k;
  // Four times the background energy: noise seldom reaches it for more than
  // a sample. Where the threshold itself is lower, halfway to it, so that
  // the event's samples still lie above the level on the average.
  const double level = background * std::min(4.0, (1.0 + ratio * ratio) / 2.0);
  double sum = 0.0, lowest = 0.0;
  int64_t onset = k;
  for (int64_t i = k; i < k + L2; ++i) {
    sum += static_cast<double>(x[i]) * static_cast<double>(x[i]) - level;
    if (sum < lowest) {
      lowest = sum;
      onset = i + 1;
    }
  }
  return std::min(onset, k + L2 - 1);
}

}  // namespace zentrova
