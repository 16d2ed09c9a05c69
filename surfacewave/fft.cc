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
  // The last two spans need no multiplication (factors 1 and -i).
  for (int span = n; span >= 8; span /= 2) {
    const int half = span / 2;
    const int stride = n / span;
    for (int j0 = 0; j0 < n; j0 += span) {
      double* r = re + j0;
      double* i = im + j0;
      for (int k = 0; k < half; ++k) {
        const double c = cos_[k * stride];
        const double s = sin_[k * stride];
        const double ar = r[k], ai = i[k];
        const double br = r[k + half], bi = i[k + half];
        r[k] = ar + br;
        i[k] = ai + bi;
        const double dr = ar - br, di = ai - bi;
        r[k + half] = dr * c - di * s;
        i[k + half] = dr * s + di * c;
      }
    }
  }
  if (n >= 4) {
    for (int j = 0; j < n; j += 4) {
      const double ar0 = re[j], ai0 = im[j], ar1 = re[j + 1], ai1 = im[j + 1];
      const double br0 = re[j + 2], bi0 = im[j + 2], br1 = re[j + 3], bi1 = im[j + 3];
      re[j] = ar0 + br0;
      im[j] = ai0 + bi0;
      re[j + 1] = ar1 + br1;
      im[j + 1] = ai1 + bi1;
      re[j + 2] = ar0 - br0;
      im[j + 2] = ai0 - bi0;
      // (a - b) x (-i)
      re[j + 3] = ai1 - bi1;
      im[j + 3] = br1 - ar1;
    }
  }
  if (n >= 2) {
    for (int j = 0; j < n; j += 2) {
      const double ar = re[j], ai = im[j], br = re[j + 1], bi = im[j + 1];
      re[j] = ar + br;
      im[j] = ai + bi;
      re[j + 1] = ar - br;
      im[j + 1] = ai - bi;
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
