#pragma once
// From the combined triggers of a scan to events. A candidate is a tested
// sample at which enough channels trigger (AND: at least the minimum
// number; OR: one); a stretch is a run of candidates one after another.
// A stretch counts when it lasts at least the minimum number of samples and
// is no glitch: a stretch that begins with many channels triggering on the
// very same sample (a spike or a step in the data, not a wave arriving) and
// ends soon is no event. The stretches that count become events in one of
// two ways:
// - merged (the station's own way): each candidate that lies more than the
//   merge interval after the last event's time is a new event; the
//   candidates in between belong to that event;
// - whole: an event runs from the first sample of its stretch to the end of
//   it, joined by the stretches that follow it within the least gap; the
//   next event begins only after that gap, so events never overlap.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zentrova {

// Seconds from the first sample, as the event file gives them.
inline float SampleTime(double dtUs, int64_t k) {
  return static_cast<float>(dtUs * static_cast<double>(k) / 1000000.0);
}

// What the scan found at each tested sample first, first + 1, ...
struct SampleTriggers {
  int64_t first = 0;
  std::vector<int> triggered;  // channels that trigger at the sample
  std::vector<int> began;      // of those, the channels whose trigger begins there
};

struct EventRules {
  int method = 1;  // 1 AND, anything else OR
  int minimumChannels = 5;
  int64_t minimumSamples = 0;  // the shortest stretch that counts
  int glitchChannels = 0;      // 0: no glitch rule
  int64_t glitchSamples = 0;   // a glitch lasts fewer samples than this
  bool whole = false;
  int64_t gapSamples = 0;  // whole events: the least gap, in samples without a candidate
  float mergeSeconds = 0.0f;  // merged events
  double dtUs = 0.0;
  int maxEvents = 10000;
};

// The samples of one event: its first candidate, its last, and the
// channels triggering at the first.
struct EventSpan {
  int64_t first = 0;
  int64_t last = 0;
  int channels = 0;
  bool operator==(const EventSpan&) const = default;
};

struct FoundEvents {
  std::vector<EventSpan> events;
  // The scan ends before this sample (with the events full; else after the
  // last tested sample).
  int64_t end = 0;
};

FoundEvents FindEvents(const SampleTriggers& s, const EventRules& rules);

}  // namespace zentrova
