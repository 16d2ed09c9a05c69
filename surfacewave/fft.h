#pragma once
// Forward discrete Fourier transform in place, scaled by 1 / N:
// X[k] = (1/N) sum_t x[t] exp(-2 pi i k t / N).

namespace zentrova {

// n must be a power of two (at least 1); any other length is left untouched.
void Fft(double* re, double* im, int n);

}  // namespace zentrova
