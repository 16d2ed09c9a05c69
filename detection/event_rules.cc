#include "detection/event_rules.h"

#include <cstddef>

namespace zentrova {
namespace {

bool Candidate(const EventRules& r, int m) { return r.method == 1 ? m >= r.minimumChannels : m > 0; }

bool Counts(const SampleTriggers& s, const EventRules& r, size_t i, int64_t length) {
  if (length < r.minimumSamples) return false;
  const bool glitch = r.glitchChannels > 0 && s.began[i] >= r.glitchChannels && length < r.glitchSamples;
  return !glitch;
}

// The candidates of the stretch [i, j) as merged events. False when the
// events are full (the scan ends after that candidate).
bool MergeStretch(const SampleTriggers& s, const EventRules& r, size_t i, size_t j, float& tLast, FoundEvents& out) {
  for (size_t k = i; k < j; ++k) {
    const int64_t sample = s.first + static_cast<int64_t>(k);
    const float t = SampleTime(r.dtUs, sample);
    if (out.events.empty() || t - tLast > r.mergeSeconds) {
      out.events.push_back({sample, sample, s.triggered[k]});
      tLast = t;
      if (static_cast<int>(out.events.size()) >= r.maxEvents) {
        out.end = sample + 1;
        return false;
      }
    } else {
      out.events.back().last = sample;
    }
  }
  return true;
}

// The stretch [i, j) joins the last whole event or begins the next. False
// when another event would begin with the events full.
bool AddWholeStretch(const SampleTriggers& s, const EventRules& r, size_t i, size_t j, FoundEvents& out) {
  const int64_t first = s.first + static_cast<int64_t>(i), last = s.first + static_cast<int64_t>(j) - 1;
  if (!out.events.empty() && first - out.events.back().last - 1 < r.gapSamples) {
    out.events.back().last = last;
    return true;
  }
  if (static_cast<int>(out.events.size()) >= r.maxEvents) {
    out.end = first;
    return false;
  }
  out.events.push_back({first, last, s.triggered[i]});
  return true;
}

}  // namespace

FoundEvents FindEvents(const SampleTriggers& s, const EventRules& r) {
  FoundEvents out;
  const size_t n = s.triggered.size() < s.began.size() ? s.triggered.size() : s.began.size();
  out.end = s.first + static_cast<int64_t>(n);
  float tLast = 0.0f;
  for (size_t i = 0; i < n;) {
    if (!Candidate(r, s.triggered[i])) {
      ++i;
      continue;
    }
    size_t j = i + 1;
    while (j < n && Candidate(r, s.triggered[j])) ++j;
    if (Counts(s, r, i, static_cast<int64_t>(j - i))) {
      const bool more = r.whole ? AddWholeStretch(s, r, i, j, out) : MergeStretch(s, r, i, j, tLast, out);
      if (!more) return out;
    }
    i = j;
  }
  return out;
}

}  // namespace zentrova
