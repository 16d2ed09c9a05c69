#include "quality/trace_figures.h"

#include <cmath>

namespace zentrova {

std::optional<FullScale> FormatFullScale(int formatCode) {
  switch (formatCode) {
    case 1: return FullScale{-32768.0f, 32767.0f};
    case 2: return FullScale{-2147483648.0f, 2147483647.0f};  // as floats: -2^31 and 2^31
    case 3: return FullScale{-524288.0f, 524287.0f};
    default: return std::nullopt;
  }
}

TraceFigures MeasureTrace(const float* x, size_t n, int formatCode) {
  TraceFigures f;
  f.samples = static_cast<int64_t>(n);
  const std::optional<FullScale> scale = FormatFullScale(formatCode);
  const float low = scale ? scale->low : -INFINITY;
  const float high = scale ? scale->high : INFINITY;
  bool first = true;
  size_t finite = 0;
  for (size_t i = 0; i < n; ++i) {
    const float v = x[i];
    if (!std::isfinite(v)) continue;
    ++finite;
    const double d = v;
    f.sum += d;
    f.sumSquares += d * d;
    if (first) {
      f.minimum = f.maximum = v;
      first = false;
    } else if (v < f.minimum) {
      f.minimum = v;
    } else if (v > f.maximum) {
      f.maximum = v;
    }
    if (v <= low || v >= high) ++f.clipped;
  }
  f.peak = std::fmax(std::fabs(f.minimum), std::fabs(f.maximum));
  if (finite < 3) return f;
  const double mean = f.sum / static_cast<double>(finite);
  const double variance = std::fmax(0.0, f.sumSquares / static_cast<double>(finite) - mean * mean);
  const double limit = kSpikeSigmas * std::sqrt(variance);
  if (!(limit > 0.0)) return f;
  // Only samples beyond the limit are looked at closely: one comparison per sample.
  const double lowCut = mean - limit, highCut = mean + limit;
  for (size_t i = 1; i + 1 < n; ++i) {
    const double d = x[i];
    if (d <= highCut && d >= lowCut) continue;
    if (!std::isfinite(x[i])) continue;
    const double half = std::fabs(d - mean) / 2.0;
    if (std::fabs(x[i - 1] - mean) < half && std::fabs(x[i + 1] - mean) < half) ++f.spikes;
  }
  return f;
}

}  // namespace zentrova
