// The band-pass against the Butterworth response it is built to have: for
// the bilinear transform with prewarped corners, a second-order low-pass
// passes |H|^2 = 1 / (1 + (tan(pi f / fs) / tan(pi fc / fs))^4) and the
// high-pass the same with the ratio turned over. Measured on sines after
// the filter has settled.

#include "detection/butterworth.h"

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

namespace zentrova {
namespace {

double Expected(double f, double low, double high, double rate) {
  const auto warp = [&](double v) { return std::tan(M_PI * v / rate); };
  double power = 1.0;
  if (low > 0) power /= 1.0 + std::pow(warp(low) / warp(f), 4);
  if (high > 0) power /= 1.0 + std::pow(warp(f) / warp(high), 4);
  return std::sqrt(power);
}

// Amplitude of the filtered sine from its RMS over its last two seconds
// (whole periods of every frequency below).
double Measured(double f, double low, double high, double rate) {
  const size_t n = static_cast<size_t>(60.0 * rate);
  std::vector<float> x(n);
  for (size_t i = 0; i < n; ++i) x[i] = static_cast<float>(std::sin(2.0 * M_PI * f * static_cast<double>(i) / rate));
  const std::vector<float> y = FilterSamples(DesignBandPass(low, high, rate), x.data(), n);
  const size_t m = static_cast<size_t>(2.0 * rate);
  double sum = 0.0;
  for (size_t i = n - m; i < n; ++i) sum += double(y[i]) * double(y[i]);
  return std::sqrt(2.0 * sum / static_cast<double>(m));
}

TEST(Butterworth, GainFollowsTheButterworthResponse) {
  struct Case {
    double f, low, high, rate;
  };
  const Case cases[] = {
      {5.0, 1.0, 10.0, 100.0},   {1.0, 1.0, 10.0, 100.0},  {10.0, 1.0, 10.0, 100.0}, {0.5, 1.0, 10.0, 100.0},
      {20.0, 1.0, 10.0, 100.0},  {40.0, 1.0, 10.0, 100.0}, {3.0, 2.0, 0.0, 100.0},   {1.0, 2.0, 0.0, 100.0},
      {30.0, 0.0, 25.0, 200.0},  {50.0, 0.0, 25.0, 200.0}, {8.0, 5.0, 15.0, 1000.0}, {60.0, 5.0, 15.0, 1000.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.f << " Hz through " << c.low << " to " << c.high << " at " << c.rate);
    const double expected = Expected(c.f, c.low, c.high, c.rate);
    // Within 1 % of the gain, or of the pass band where the gain is tiny.
    EXPECT_NEAR(Measured(c.f, c.low, c.high, c.rate), expected, 0.01 * std::max(expected, 0.01));
  }
  // Exactly half the power at each corner.
  EXPECT_NEAR(Expected(1.0, 1.0, 0.0, 100.0), std::sqrt(0.5), 1e-12);
}

TEST(Butterworth, TracesSideBySideAndLongerCascadesAsOneByOne) {
  const double rate = 100.0;
  std::vector<std::vector<float>> traces(3, std::vector<float>(3000));
  for (size_t c = 0; c < 3; ++c) {
    for (size_t i = 0; i < 3000; ++i) {
      const double t = static_cast<double>(i), k = static_cast<double>(c);
      traces[c][i] = static_cast<float>(10.0 * k + std::sin(0.05 * (k + 1) * t) + (i % 17 == 0 ? 1.0 : 0.0));
    }
  }
  const std::vector<Biquad> band = DesignBandPass(1.0, 10.0, rate);
  const std::vector<std::vector<float>> together =
      FilterTraces(band, {traces[0].data(), traces[1].data(), traces[2].data()}, 3000);
  ASSERT_EQ(together.size(), 3u);
  for (size_t c = 0; c < 3; ++c) EXPECT_EQ(together[c], FilterSamples(band, traces[c].data(), 3000)) << c;

  // The band twice over: the gain squared, in passes of two sections.
  std::vector<Biquad> twice = band;
  twice.insert(twice.end(), band.begin(), band.end());
  std::vector<float> x(6000);
  for (size_t i = 0; i < x.size(); ++i) x[i] = static_cast<float>(std::sin(2.0 * M_PI * 15.0 * static_cast<double>(i) / rate));
  const std::vector<float> y = FilterSamples(twice, x.data(), x.size());
  double sum = 0.0;
  for (size_t i = x.size() - 200; i < x.size(); ++i) sum += double(y[i]) * double(y[i]);
  EXPECT_NEAR(std::sqrt(sum / 100.0), std::pow(Expected(15.0, 1.0, 10.0, rate), 2), 0.002);
}

TEST(Butterworth, NothingBeforeTheArrivalAndNoRingingFromAnOffset) {
  std::vector<float> x(2000, 0.0f);
  x[1000] = 1.0f;
  const std::vector<float> y = FilterSamples(DesignBandPass(1.0, 10.0, 100.0), x.data(), x.size());
  for (size_t i = 0; i < 1000; ++i) ASSERT_EQ(y[i], 0.0f) << i;
  EXPECT_NE(y[1000], 0.0f);

  const std::vector<float> offset(500, 250.0f);
  for (float v : FilterSamples(DesignBandPass(1.0, 10.0, 100.0), offset.data(), offset.size())) ASSERT_NEAR(v, 0.0f, 1e-3f);
  for (float v : FilterSamples(DesignBandPass(0.0, 10.0, 100.0), offset.data(), offset.size())) ASSERT_NEAR(v, 250.0f, 1e-3f);
}

TEST(Butterworth, CornersOutsideTheBandAreLeftOut) {
  EXPECT_EQ(DesignBandPass(1.0, 10.0, 100.0).size(), 2u);
  EXPECT_EQ(DesignBandPass(0.0, 10.0, 100.0).size(), 1u);
  EXPECT_EQ(DesignBandPass(1.0, 50.0, 100.0).size(), 1u);  // at the Nyquist frequency
  EXPECT_EQ(DesignBandPass(-1.0, NAN, 100.0).size(), 0u);
  EXPECT_EQ(DesignBandPass(1.0, 10.0, 0.0).size(), 0u);
  const float x[] = {1.0f, 2.0f, 3.0f};
  EXPECT_EQ(FilterSamples({}, x, 3), std::vector<float>({1.0f, 2.0f, 3.0f}));
  EXPECT_TRUE(FilterSamples(DesignBandPass(1.0, 10.0, 100.0), x, 0).empty());
}

}  // namespace
}  // namespace zentrova
