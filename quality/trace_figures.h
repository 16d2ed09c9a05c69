#pragma once
// The data-quality figures of one trace, taken from its samples in memory:
// their mean (offset), RMS, peak, the spikes, whether the trace is dead (all
// samples equal) and how many samples sit at the format's full scale.
//
// A spike is a single sample that stands out alone: its distance from the
// trace's mean is more than kSpikeSigmas times the trace's standard
// deviation, while each of its neighbours is less than half as far from the
// mean. A quake or a shot, which lasts many samples, is no spike; a glitch
// of one sample is. A trace with fewer than three samples has none.

#include <cstddef>
#include <cstdint>
#include <optional>

namespace zentrova {

inline constexpr double kSpikeSigmas = 8.0;

struct TraceFigures {
  int64_t samples = 0;
  double sum = 0.0;         // of the samples, for the mean of a longer span
  double sumSquares = 0.0;  // of the samples
  float peak = 0.0f;        // largest absolute value
  float minimum = 0.0f;
  float maximum = 0.0f;
  int64_t spikes = 0;
  int64_t clipped = 0;      // samples at the format's full scale
  bool dead() const { return samples > 0 && minimum == maximum; }
};

// The largest and smallest values the SEG-2 format code stores (1 int16,
// 2 int32, 3 20-bit); nothing for the floating formats, which have none.
struct FullScale {
  float low = 0.0f;
  float high = 0.0f;
};
std::optional<FullScale> FormatFullScale(int formatCode);

// The figures of n samples; samples that are not finite count as samples
// but take no part in the sums (they are neither spikes nor clipped).
TraceFigures MeasureTrace(const float* samples, size_t n, int formatCode);

}  // namespace zentrova
