#pragma once
// The triggers of one trace as runs: the detector stores a time for every
// triggered sample, so a signal that triggers for a second gives thousands
// of times in a row. A run is a stretch of times no further apart than the
// gap; the picture marks where each run begins and draws the run along the
// baseline.

#include <vector>

namespace zentrova {

struct TriggerRun {
  float first = 0.0f;  // seconds from the record's first sample
  float last = 0.0f;
};

// The runs of `count` times in ascending order: a new run begins where a
// time lies more than `gap` seconds after the one before (a gap that is not
// a positive number: where the time changes).
std::vector<TriggerRun> TriggerRuns(const float* times, int count, double gap);

// The gap for triggers tested at every sample of an interval in
// microseconds: one and a half samples, or the detector's own span for
// joining triggers into one event (the longer of its two windows, in ms)
// where that is longer, so that a trace shows one run for each event it
// takes part in.
double TriggerRunGap(float sampleIntervalMicroseconds, float window1Ms = 0.0f, float window2Ms = 0.0f);

}  // namespace zentrova
