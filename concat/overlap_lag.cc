#include "concat/overlap_lag.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <vector>

namespace zentrova {
namespace {

using Complex = std::complex<double>;

// The turning factors exp(-2 pi i k / n), k < n / 2, of one transform
// length, kept per thread: a join takes the same length for every trace of
// every record.
const std::vector<Complex>& Twiddles(size_t n) {
  thread_local size_t length = 0;
  thread_local std::vector<Complex> table;
  if (length != n) {
    table.resize(n / 2);
    for (size_t k = 0; k < n / 2; ++k) {
      const double angle = -2.0 * M_PI * static_cast<double>(k) / static_cast<double>(n);
      table[k] = Complex(std::cos(angle), std::sin(angle));
    }
    length = n;
  }
  return table;
}

// In-place radix-2 FFT; size a power of two. inverse: without the 1/N.
void Fft(std::vector<Complex>& a, bool inverse) {
  const size_t n = a.size();
  for (size_t i = 1, j = 0; i < n; ++i) {
    size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(a[i], a[j]);
  }
  const std::vector<Complex>& w = Twiddles(n);
  for (size_t len = 2; len <= n; len <<= 1) {
    const size_t half = len / 2, stride = n / len;
    for (size_t i = 0; i < n; i += len) {
      for (size_t k = 0; k < half; ++k) {
        // Written out: std::complex's product checks for infinities on
        // every call.
        const double tr = w[k * stride].real(), ti = inverse ? -w[k * stride].imag() : w[k * stride].imag();
        const Complex x = a[i + k + half];
        const Complex v(x.real() * tr - x.imag() * ti, x.real() * ti + x.imag() * tr);
        const Complex u = a[i + k];
        a[i + k] = u + v;
        a[i + k + half] = u - v;
      }
    }
  }
}

}  // namespace

double OverlapRms(int n, const float* prev, const float* cur, int lag) {
  double sum = 0.0;
  for (int j = 0; j < n; ++j) {
    const int p = lag + j;
    if (p < 0 || p >= n) continue;
    const double d = static_cast<double>(prev[p]) - static_cast<double>(cur[j]);
    sum += d * d;
  }
  return std::sqrt(sum / n);
}

int BestOverlapLagDirect(int n, const float* prev, const float* cur) {
  double best = 1e16;
  int lag = 0;
  for (int i = n / 2; i > -n / 2; --i) {
    const double v = OverlapRms(n, prev, cur, i);
    if (v < best) {
      best = v;
      lag = i;
    }
  }
  return lag;
}

int BestOverlapLag(int n, const float* prev, const float* cur) {
  if (n < 2) return 0;
  size_t size = 1;
  while (size < 2 * static_cast<size_t>(n)) size <<= 1;
  // Both real signals through one transform (prev as the real part, cur as
  // the imaginary part), parted by the symmetry of real spectra:
  // P[k] = (Z[k] + conj Z[-k]) / 2, C[k] = (Z[k] - conj Z[-k]) / 2i.
  std::vector<Complex> z(size), a(size);
  for (int j = 0; j < n; ++j) z[j] = Complex(prev[j], cur[j]);
  Fft(z, false);
  for (size_t k = 0; k < size; ++k) {
    const Complex zk = z[k], zm = std::conj(z[(size - k) & (size - 1)]);
    const Complex p = (zk + zm) * 0.5;
    const Complex d = (zk - zm) * 0.5;
    const Complex c(d.imag(), -d.real());  // d / i
    a[k] = Complex(p.real() * c.real() + p.imag() * c.imag(), p.imag() * c.real() - p.real() * c.imag());  // p conj(c)
  }
  Fft(a, true);  // a[i mod size] = size x sum_j prev[i + j] cur[j]

  // Running sums of squares: P[m] = sum of prev[0..m), C[m] likewise.
  std::vector<double> P(static_cast<size_t>(n) + 1, 0.0), C(static_cast<size_t>(n) + 1, 0.0);
  for (int j = 0; j < n; ++j) {
    P[j + 1] = P[j] + static_cast<double>(prev[j]) * prev[j];
    C[j + 1] = C[j] + static_cast<double>(cur[j]) * cur[j];
  }
  const int hi = n / 2, lo = -n / 2 + 1;
  std::vector<double> sums(static_cast<size_t>(hi - lo + 1));
  double best = 1e300, scale = 0.0;
  for (int i = hi; i >= lo; --i) {
    // j runs over max(0, -i) .. min(n, n - i) - 1.
    const int j0 = std::max(0, -i), j1 = std::min(n, n - i);
    const double pp = P[j1 + i] - P[j0 + i];
    const double cc = C[j1] - C[j0];
    const double cross = a[static_cast<size_t>((i + static_cast<int>(size)) % static_cast<int>(size))].real() /
                         static_cast<double>(size);
    const double s = std::max(0.0, pp + cc - 2.0 * cross);
    sums[static_cast<size_t>(hi - i)] = s;
    best = std::min(best, s);
    scale = std::max(scale, pp + cc);
  }
  // The formula decides among the lags that rounding could have misplaced.
  const double tolerance = 1e-9 * scale + 1e-300;
  double bestRms = 1e16;
  int lag = 0;
  for (int i = hi; i >= lo; --i) {
    if (sums[static_cast<size_t>(hi - i)] > best + tolerance) continue;
    const double v = OverlapRms(n, prev, cur, i);
    if (v < bestRms) {
      bestRms = v;
      lag = i;
    }
  }
  return lag;
}

}  // namespace zentrova
