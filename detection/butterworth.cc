#include "detection/butterworth.h"

#include <cmath>

namespace zentrova {
namespace {

constexpr int kOrder = 4;

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

std::vector<Biquad> DesignBandPass(double lowHz, double highHz, double sampleRateHz) {
  std::vector<Biquad> sections;
  if (!(std::isfinite(sampleRateHz) && sampleRateHz > 0.0)) return sections;
  if (Usable(lowHz, sampleRateHz)) AddSections(sections, Pass::kHigh, lowHz, sampleRateHz);
  if (Usable(highHz, sampleRateHz)) AddSections(sections, Pass::kLow, highHz, sampleRateHz);
  return sections;
}

std::vector<float> FilterSamples(const std::vector<Biquad>& sections, const float* x, size_t n) {
  std::vector<float> out(x, x + n);
  if (sections.empty() || n == 0) return out;
  // At rest on the first level: filter the samples less that level and
  // give back what the sections pass of it (all for a low-pass, nothing
  // once a high-pass is in).
  const double level = std::isfinite(x[0]) ? x[0] : 0.0;
  double passed = level;
  for (const Biquad& q : sections) passed *= (q.b0 + q.b1 + q.b2) / (1.0 + q.a1 + q.a2);
  std::vector<double> z1(sections.size(), 0.0), z2(sections.size(), 0.0);
  for (size_t i = 0; i < n; ++i) {
    double v = static_cast<double>(x[i]) - level;
    for (size_t s = 0; s < sections.size(); ++s) {  // transposed direct form II
      const Biquad& q = sections[s];
      const double y = q.b0 * v + z1[s];
      z1[s] = q.b1 * v - q.a1 * y + z2[s];
      z2[s] = q.b2 * v - q.a2 * y;
      v = y;
    }
    out[i] = static_cast<float>(v + passed);
  }
  return out;
}

}  // namespace zentrova
