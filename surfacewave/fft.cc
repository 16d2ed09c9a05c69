#include "surfacewave/fft.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace zentrova {

FftPlan::FftPlan(int n) : n_(n), valid_(n >= 1 && (n & (n - 1)) == 0) {
  if (!valid_) return;
  cos_.resize(n / 2);
  sin_.resize(n / 2);
  for (int k = 0; k < n / 2; ++k) {
    const double theta = -2.0 * std::numbers::pi * k / n;
    cos_[k] = std::cos(theta);
    sin_[k] = std::sin(theta);
  }
}

void FftPlan::Run(double* re, double* im) const {
  if (!valid_) return;
  const int n = n_;
  // Decimation in frequency: the butterflies leave the bins in bit-reversed
  // order. At span L the factor of k is exp(-2 pi i k / L), entry k n / L.
  for (int span = n; span >= 2; span /= 2) {
    const int half = span / 2;
    const int stride = n / span;
    for (int k = 0; k < half; ++k) {
      const double c = cos_[k * stride];
      const double s = sin_[k * stride];
      for (int j = k; j < n; j += span) {
        const double ar = re[j], ai = im[j];
        const double br = re[j + half], bi = im[j + half];
        re[j] = ar + br;
        im[j] = ai + bi;
        const double dr = ar - br, di = ai - bi;
        re[j + half] = dr * c - di * s;
        im[j + half] = dr * s + di * c;
      }
    }
  }
  for (int k = 0, h = 0; k < n; ++k) {
    if (k < h) {
      std::swap(re[k], re[h]);
      std::swap(im[k], im[h]);
    }
    int bit = n >> 1;
    while (bit > 0 && (h & bit)) {
      h ^= bit;
      bit >>= 1;
    }
    h |= bit;
  }
  const double scale = 1.0 / n;
  for (int k = 0; k < n; ++k) {
    re[k] *= scale;
    im[k] *= scale;
  }
}

void Fft(double* re, double* im, int n) { FftPlan(n).Run(re, im); }

}  // namespace zentrova
