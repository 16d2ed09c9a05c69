#include "detection/butterworth.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "detection/finite_samples.h"

namespace zentrova {
namespace {

constexpr int kOrder = 2;

enum class Pass { kLow, kHigh };

// One second-order section of quality q at the corner, prewarped.
Biquad Section(Pass pass, double cornerHz, double sampleRateHz, double q) {
  const double w0 = 2.0 * M_PI * cornerHz / sampleRateHz;
  const double c = std::cos(w0);
  const double alpha = std::sin(w0) / (2.0 * q);
  const double a0 = 1.0 + alpha;
  Biquad s;
  if (pass == Pass::kLow) {
    s.b0 = (1.0 - c) / 2.0 / a0;
    s.b1 = (1.0 - c) / a0;
  } else {
    s.b0 = (1.0 + c) / 2.0 / a0;
    s.b1 = -(1.0 + c) / a0;
  }
  s.b2 = s.b0;
  s.a1 = -2.0 * c / a0;
  s.a2 = (1.0 - alpha) / a0;
  return s;
}

// The Butterworth pole pairs of the order: q = 1 / (2 cos theta) for the
// angles (2k + 1) pi / (2 order).
void AddSections(std::vector<Biquad>& out, Pass pass, double cornerHz, double sampleRateHz) {
  for (int k = 0; k < kOrder / 2; ++k) {
    const double theta = (2.0 * k + 1.0) * M_PI / (2.0 * kOrder);
    out.push_back(Section(pass, cornerHz, sampleRateHz, 1.0 / (2.0 * std::cos(theta))));
  }
}

bool Usable(double cornerHz, double sampleRateHz) {
  return std::isfinite(cornerHz) && cornerHz > 0.0 && cornerHz < sampleRateHz / 2.0;
}

}  // namespace

BandPassCorners CornersInForce(double lowHz, double highHz, double sampleRateHz) {
  if (!(std::isfinite(sampleRateHz) && sampleRateHz > 0.0)) return {};
  return {Usable(lowHz, sampleRateHz) ? lowHz : 0.0, Usable(highHz, sampleRateHz) ? highHz : 0.0};
}

std::vector<Biquad> DesignBandPass(double lowHz, double highHz, double sampleRateHz) {
  std::vector<Biquad> sections;
  const BandPassCorners c = CornersInForce(lowHz, highHz, sampleRateHz);
  if (c.lowHz > 0.0) AddSections(sections, Pass::kHigh, c.lowHz, sampleRateHz);
  if (c.highHz > 0.0) AddSections(sections, Pass::kLow, c.highHz, sampleRateHz);
  return sections;
}

std::vector<float> FilterSamples(const std::vector<Biquad>& sections, const float* x, size_t n) {
  return std::move(FilterTraces(sections, {x}, n)[0]);
}

namespace {

// Beyond the range of a float (a huge sample rings at its size), the
// largest float of its sign.
inline float Narrowed(double v) {
  constexpr double kLargest = std::numeric_limits<float>::max();
  return static_cast<float>(std::clamp(v, -kLargest, kLargest));
}

// Samples up to this size never take the sections' output beyond a float:
// the output is at most a few times the largest input (the sum of the
// sizes of the impulse response, under 4 for these sections, with the
// first level taken off and put back).
constexpr float kTameSample = std::numeric_limits<float>::max() / 64.0f;

// The sections' state for two traces, carried from one stretch of samples
// to the next.
template <int S>
struct PairState {
  double z1[S][2] = {};
  double z2[S][2] = {};
};

// Two traces through S sections, side by side: the state stays in
// registers, and the two traces' chains (each sample of a section waits on
// the one before) overlap. x[1] and y[1] may repeat x[0] and y[0].
template <int S, bool kNarrowed>
void FilterPair(const Biquad* sections, const float* const x[2], float* const y[2], const double level[2],
                const double passed[2], size_t n, PairState<S>& state) {
  Biquad q[S];
  for (int s = 0; s < S; ++s) q[s] = sections[s];
  PairState<S> z = state;
  for (size_t i = 0; i < n; ++i) {
    double v[2] = {x[0][i] - level[0], x[1][i] - level[1]};
    for (int s = 0; s < S; ++s) {  // transposed direct form II
      for (int c = 0; c < 2; ++c) {
        const double out = q[s].b0 * v[c] + z.z1[s][c];
        z.z1[s][c] = q[s].b1 * v[c] - q[s].a1 * out + z.z2[s][c];
        z.z2[s][c] = q[s].b2 * v[c] - q[s].a2 * out;
        v[c] = out;
      }
    }
    if constexpr (kNarrowed) {
      y[0][i] = Narrowed(v[0] + passed[0]);
      y[1][i] = Narrowed(v[1] + passed[1]);
    } else {
      y[0][i] = static_cast<float>(v[0] + passed[0]);
      y[1][i] = static_cast<float>(v[1] + passed[1]);
    }
  }
  state = z;
}

// FilterPair over stretches of samples, each looked at just before it is
// filtered (while it is fresh in the cache). From the first stretch with a
// sample that is no number, or one so large that the output could leave the
// range of a float, on, the stretches go through as copies with such
// samples at 0 and the output is kept within a float (what such a sample
// leaves in the sections dies away only slowly).
template <int S>
void FilterPairInStretches(const Biquad* sections, const float* const x[2], float* const y[2], const double level[2],
                           const double passed[2], size_t n) {
  constexpr size_t kStretch = 4096;
  PairState<S> state;
  bool tame = true;
  std::vector<float> finite[2];
  for (size_t from = 0; from < n; from += kStretch) {
    const size_t m = std::min(kStretch, n - from);
    const float* in[2] = {x[0] + from, x[1] + from};
    float* const out[2] = {y[0] + from, y[1] + from};
    tame = tame && !AnyBeyond(in[0], m, kTameSample) && !AnyBeyond(in[1], m, kTameSample);
    if (tame) {
      FilterPair<S, false>(sections, in, out, level, passed, m, state);
      continue;
    }
    for (int k = 0; k < 2; ++k) {
      finite[k] = FiniteCopy(in[k], m);
      in[k] = finite[k].data();
    }
    FilterPair<S, true>(sections, in, out, level, passed, m, state);
  }
}

// At most two sections, as FilterPair takes them.
std::vector<std::vector<float>> FilterUpToTwo(const Biquad* sections, size_t count, const std::vector<const float*>& x,
                                              size_t n) {
  std::vector<std::vector<float>> out(x.size(), std::vector<float>(n));
  // At rest on the first level: filter the samples less that level and give
  // back what the sections pass of it (all for a low-pass, nothing once a
  // high-pass is in).
  double gain = 1.0;
  for (size_t s = 0; s < count; ++s) {
    const Biquad& q = sections[s];
    gain *= (q.b0 + q.b1 + q.b2) / (1.0 + q.a1 + q.a2);
  }
  for (size_t c = 0; c < x.size(); c += 2) {
    const size_t d = std::min(c + 1, x.size() - 1);  // an odd last trace goes with itself
    const float* const in[2] = {x[c], x[d]};
    float* const to[2] = {out[c].data(), out[d].data()};
    double level[2], passed[2];
    for (int k = 0; k < 2; ++k) {
      level[k] = std::isfinite(in[k][0]) ? in[k][0] : 0.0;
      passed[k] = level[k] * gain;
    }
    if (count == 1) {
      FilterPairInStretches<1>(sections, in, to, level, passed, n);
    } else {
      FilterPairInStretches<2>(sections, in, to, level, passed, n);
    }
  }
  return out;
}

}  // namespace

std::vector<std::vector<float>> FilterTraces(const std::vector<Biquad>& sections, const std::vector<const float*>& x,
                                             size_t n) {
  std::vector<std::vector<float>> out;
  if (sections.empty() || n == 0) {
    for (const float* trace : x) out.emplace_back(trace, trace + n);
    return out;
  }
  // Two sections at a time; each pass starts at rest on the level the pass
  // before gives its first sample, which is what the whole cascade at rest
  // would give.
  for (size_t s = 0; s < sections.size(); s += 2) {
    std::vector<const float*> in;
    for (size_t c = 0; c < x.size(); ++c) in.push_back(s == 0 ? x[c] : out[c].data());
    out = FilterUpToTwo(sections.data() + s, std::min<size_t>(2, sections.size() - s), in, n);
  }
  return out;
}

}  // namespace zentrova
