#pragma once
// Forward discrete Fourier transform in place, scaled by 1 / N:
// X[k] = (1/N) sum_t x[t] exp(-2 pi i k t / N).

#include <vector>

namespace zentrova {

// The turning factors of one transform length, for transforming many
// traces of the same length.
class FftPlan {
 public:
  // n must be a power of two (at least 1); for any other length Run does nothing.
  explicit FftPlan(int n);
  void Run(double* re, double* im) const;
  int size() const { return n_; }

 private:
  int n_ = 0;
  bool valid_ = false;
  std::vector<double> cos_, sin_;  // exp(-2 pi i k / n) for k < n / 2
};

// One transform of length n (a power of two; any other length is left untouched).
void Fft(double* re, double* im, int n);

}  // namespace zentrova
