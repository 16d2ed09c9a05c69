#pragma once
// The part of a record the dispersion analysis transforms: from the shot
// (time zero) on, as many samples as one transform takes.

#include <vector>

#include "records/seismic_record.h"

namespace zentrova {

// At most this many samples of each trace enter the transform.
inline constexpr int kShotWindowSamples = 16384;

struct ShotWindow {
  int first = 0;          // first sample taken: the one at time zero or just after
  int samples = 0;        // samples taken from `first` on (of the longest trace)
  int skippedBefore = 0;  // samples before time zero that the record's DELAY gives
  int leftAfter = 0;      // samples after the window, not taken
};

// The window of traces that share the first trace's sample interval and
// delay: a negative delay means the recording began before the shot, and
// those samples carry no surface wave of it. `longest` is the largest sample
// count of the traces.
ShotWindow ChooseShotWindow(const CHeader& first, int longest);

// Transform length: the smallest power of two, at least 8, holding the window.
int TransformLength(int samples);

}  // namespace zentrova
