#include "surfacewave/fft.h"

#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace zentrova {
namespace {

// X[k] = (1/N) sum_t x[t] exp(-2 pi i k t / N), term by term.
std::vector<std::complex<double>> DirectDft(const std::vector<double>& re, const std::vector<double>& im) {
  const size_t n = re.size();
  std::vector<std::complex<double>> out(n);
  for (size_t k = 0; k < n; ++k) {
    std::complex<double> sum = 0.0;
    for (size_t t = 0; t < n; ++t) {
      const double angle = -2.0 * std::numbers::pi * static_cast<double>((k * t) % n) / static_cast<double>(n);
      sum += std::complex<double>(re[t], im[t]) * std::polar(1.0, angle);
    }
    out[k] = sum / static_cast<double>(n);
  }
  return out;
}

TEST(Fft, AgreesWithTheDirectTransform) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> value(-1.0, 1.0);
  for (int n : {1, 2, 4, 8, 16, 64, 512, 1024}) {
    SCOPED_TRACE(n);
    std::vector<double> re(n), im(n);
    for (int t = 0; t < n; ++t) {
      re[t] = value(random);
      im[t] = value(random);
    }
    const auto expected = DirectDft(re, im);
    Fft(re.data(), im.data(), n);
    for (int k = 0; k < n; ++k) {
      ASSERT_NEAR(re[k], expected[k].real(), 1e-12) << k;
      ASSERT_NEAR(im[k], expected[k].imag(), 1e-12) << k;
    }
  }
}

TEST(Fft, PutsACosineIntoItsOwnTwoBins) {
  constexpr int n = 256;
  std::vector<double> re(n), im(n, 0.0);
  for (int t = 0; t < n; ++t) re[t] = std::cos(2.0 * std::numbers::pi * 10 * t / n);
  Fft(re.data(), im.data(), n);
  for (int k = 0; k < n; ++k) {
    const double expected = (k == 10 || k == n - 10) ? 0.5 : 0.0;
    EXPECT_NEAR(std::hypot(re[k], im[k]), expected, 1e-12) << k;
  }
}

TEST(Fft, LeavesALengthThatIsNoPowerOfTwoUntouched) {
  for (int n : {0, 3, 6, 100}) {
    std::vector<double> re(std::max(n, 1), 1.5), im(std::max(n, 1), -0.5);
    Fft(re.data(), im.data(), n);
    for (size_t k = 0; k < re.size(); ++k) {
      EXPECT_EQ(re[k], 1.5);
      EXPECT_EQ(im[k], -0.5);
    }
  }
}

}  // namespace
}  // namespace zentrova
