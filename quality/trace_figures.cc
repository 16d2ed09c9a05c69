#include "quality/trace_figures.h"

#include <algorithm>
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

namespace {

// The careful pass, for traces that hold a value that is not finite.
void SumsSkippingNonFinite(const float* x, size_t n, float low, float high, TraceFigures& f, size_t& finite) {
  bool first = true;
  for (size_t i = 0; i < n; ++i) {
    const float v = x[i];
    if (!std::isfinite(v)) continue;
    ++finite;
    f.sum += v;
    f.sumSquares += static_cast<double>(v) * v;
    f.minimum = first ? v : std::min(f.minimum, v);
    f.maximum = first ? v : std::max(f.maximum, v);
    first = false;
    f.clipped += (v <= low) | (v >= high);
  }
}

// The quick pass: eight independent sums so that the additions overlap,
// and no branch per sample. Sums of float samples in double; exact enough
// for offsets and RMS values of any recorder.
void Sums(const float* x, size_t n, float low, float high, TraceFigures& f) {
  constexpr size_t kLanes = 8;
  double sum[kLanes] = {}, squares[kLanes] = {};
  float lo[kLanes], hi[kLanes];
  int64_t clipped[kLanes] = {};
  for (size_t k = 0; k < kLanes; ++k) lo[k] = hi[k] = x[0];
  size_t i = 0;
  for (; i + kLanes <= n; i += kLanes) {
    for (size_t k = 0; k < kLanes; ++k) {
      const float v = x[i + k];
      sum[k] += v;
      squares[k] += static_cast<double>(v) * v;
      lo[k] = v < lo[k] ? v : lo[k];
      hi[k] = v > hi[k] ? v : hi[k];
      clipped[k] += (v <= low) | (v >= high);
    }
  }
  for (; i < n; ++i) {
    const float v = x[i];
    sum[0] += v;
    squares[0] += static_cast<double>(v) * v;
    lo[0] = std::min(lo[0], v);
    hi[0] = std::max(hi[0], v);
    clipped[0] += (v <= low) | (v >= high);
  }
  f.minimum = lo[0];
  f.maximum = hi[0];
  for (size_t k = 0; k < kLanes; ++k) {
    f.sum += sum[k];
    f.sumSquares += squares[k];
    f.minimum = std::min(f.minimum, lo[k]);
    f.maximum = std::max(f.maximum, hi[k]);
    f.clipped += clipped[k];
  }
}

}  // namespace

TraceFigures MeasureTrace(const float* x, size_t n, int formatCode) {
  TraceFigures f;
  f.samples = static_cast<int64_t>(n);
  if (n == 0) return f;
  const std::optional<FullScale> scale = FormatFullScale(formatCode);
  const float low = scale ? scale->low : -INFINITY;
  const float high = scale ? scale->high : INFINITY;
  size_t finite = n;
  Sums(x, n, low, high, f);
  if (!std::isfinite(f.sumSquares) || !std::isfinite(f.minimum) || !std::isfinite(f.maximum)) {
    // A value that is not finite (or sums beyond double's range): again, skipping them.
    f = TraceFigures();
    f.samples = static_cast<int64_t>(n);
    finite = 0;
    SumsSkippingNonFinite(x, n, low, high, f, finite);
  }
  f.peak = std::fmax(std::fabs(f.minimum), std::fabs(f.maximum));
  if (finite < 3) return f;
  const double mean = f.sum / static_cast<double>(finite);
  const double variance = std::fmax(0.0, f.sumSquares / static_cast<double>(finite) - mean * mean);
  const double limit = kSpikeSigmas * std::sqrt(variance);
  if (!(limit > 0.0)) return f;
  // Only samples beyond the limit are looked at closely: one comparison per sample.
  const float lowCut = static_cast<float>(mean - limit), highCut = static_cast<float>(mean + limit);
  if (f.minimum >= lowCut && f.maximum <= highCut) return f;  // nothing stands out
  for (size_t i = 1; i + 1 < n; ++i) {
    const float v = x[i];
    if (!(v > highCut || v < lowCut)) continue;
    const double half = std::fabs(v - mean) / 2.0;
    if (std::fabs(x[i - 1] - mean) < half && std::fabs(x[i + 1] - mean) < half) ++f.spikes;
  }
  return f;
}

}  // namespace zentrova
