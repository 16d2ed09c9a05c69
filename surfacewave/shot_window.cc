#include "surfacewave/shot_window.h"

#include <algorithm>
#include <cmath>

namespace zentrova {

ShotWindow ChooseShotWindow(const CHeader& first, int longest) {
  ShotWindow w;
  longest = std::max(longest, 0);
  const double interval = first.fSampleInterval;  // microseconds
  const double delay = first.fDelay;              // microseconds
  if (interval > 0.0 && delay < 0.0 && std::isfinite(delay)) {
    // The sample at time zero, or the first one after it.
    const double before = std::ceil(-delay / interval - 1e-6);
    w.skippedBefore = static_cast<int>(std::min(before, static_cast<double>(longest)));
  }
  w.first = w.skippedBefore;
  w.samples = std::min(longest - w.first, kShotWindowSamples);
  w.leftAfter = longest - w.first - w.samples;
  return w;
}

int TransformLength(int samples) {
  int n = 8;
  while (n < samples) n *= 2;
  return n;
}

}  // namespace zentrova
