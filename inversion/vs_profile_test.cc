// The inversion against ground nobody here chose: the theoretical
// fundamental modes of the two masw-synthetic models (computed by a
// layered-earth modal code) given as curves with 3 % uncertainty must give
// back each model's Vs30 and hold each true layer inside the accepted
// range; hostile curves are refused with a reason, and a stop ends the
// search.

#include "inversion/vs_profile.h"

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "testing/shared_data.h"

namespace zentrova {
namespace {

// The "# Mode 0" block of a theoretical-curve file as a curve with a
// relative uncertainty.
ObservedCurve FundamentalCurve(const std::string& path, double relativeSigma) {
  std::ifstream in(path);
  ObservedCurve curve;
  std::string line;
  bool mode0 = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("# Mode ", 0) == 0) {
      mode0 = line == "# Mode 0";
      continue;
    }
    if (!mode0 || line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    double f = 0.0, slowness = 0.0;
    if (fields >> f >> slowness && slowness > 0.0) curve.push_back({f, 1.0 / slowness, relativeSigma / slowness});
  }
  return curve;
}

struct TrueGround {
  const char* file;
  LayeredModel model;
};

class TheoreticalCurveInversion : public ::testing::TestWithParam<TrueGround> {};

TEST_P(TheoreticalCurveInversion, GivesVs30AndHoldsEveryTrueLayerInItsRange) {
  ZENTROVA_NEEDS_SHARED_DATA();
  const ObservedCurve curve = FundamentalCurve(testing::SharedDataFolder() + "/masw-synthetic/" + GetParam().file, 0.03);
  ASSERT_GE(curve.size(), 20u);
  InversionOptions options;
  options.models = 3000;
  const VsProfile p = InvertCurve(curve, options);
  ASSERT_EQ(p.error, "");
  const LayeredModel& truth = GetParam().model;
  const double trueVs30 = TimeAveragedVs(truth, 30.0);
  std::printf("%s: Vs30 %.1f m/s (%.1f to %.1f; true %.1f), misfit %.3f, %d models, %d accepted, resolved %.1f m\n",
              GetParam().file, p.vs30, p.vs30Min, p.vs30Max, trueVs30, p.misfit, p.modelsTried, p.modelsAccepted,
              p.resolvedDepth);
  EXPECT_NEAR(p.vs30, trueVs30, 0.05 * trueVs30);
  EXPECT_LE(p.vs30Min, p.vs30);
  EXPECT_GE(p.vs30Max, p.vs30);
  EXPECT_LT(p.misfit, 1.0);
  EXPECT_EQ(p.vs30Extrapolated, p.resolvedDepth < 30.0);
  EXPECT_NEAR(p.resolvedDepth, curve.front().velocity / curve.front().frequency / 2.0, 1e-9);
  double top = 0.0;
  for (size_t i = 0; i < truth.size(); ++i) {
    // The half-space's "mid-depth": halfway from its top to 30 m.
    const double bottom = i + 1 < truth.size() ? top + truth[i].thickness : 30.0;
    const DepthRange r = RangeAtDepth(p, 0.5 * (top + bottom));
    EXPECT_LE(r.vsMin, truth[i].vs) << "at " << r.depth << " m";
    EXPECT_GE(r.vsMax, truth[i].vs) << "at " << r.depth << " m";
    top = bottom;
  }
  ASSERT_EQ(p.layers.size(), p.best.size());
  EXPECT_EQ(p.layers.front().top, 0.0);
  EXPECT_TRUE(std::isinf(p.layers.back().bottom));
  EXPECT_EQ(p.bestCurve.size(), curve.size());
}

INSTANTIATE_TEST_SUITE_P(
    MaswSynthetic, TheoreticalCurveInversion,
    ::testing::Values(TrueGround{"model_0/mod0_dc.txt", {{1.0, 200.0, 100.0, 2000.0}, {0.0, 400.0, 200.0, 2000.0}}},
                      TrueGround{"model_1/mod1_dc.txt",
                                 {{2.0, 360.0, 80.0, 1800.0},
                                  {4.0, 1000.0, 120.0, 1800.0},
                                  {8.0, 1400.0, 180.0, 1800.0},
                                  {0.0, 1400.0, 360.0, 1800.0}}}));

// A plain normally dispersive curve for the cases below.
ObservedCurve Plain() {
  ObservedCurve c;
  for (int i = 0; i < 12; ++i) {
    const double f = 5.0 + 5.0 * i;
    c.push_back({f, 120.0 + 200.0 / (1.0 + 0.15 * f), 6.0});
  }
  return c;
}

TEST(VsProfile, HostileCurvesAreRefusedWithTheirReason) {
  const double nan = std::nan("");
  struct Case {
    const char* name;
    ObservedCurve curve;
    const char* why;  // a part of the reason
  };
  ObservedCurve flat = Plain(), decreasing = Plain(), noNumber = Plain(), zeroSigma = Plain(), twice = Plain();
  for (ObservedPoint& p : flat) p.velocity = 250.0;
  for (size_t i = 0; i < decreasing.size(); ++i) decreasing[i].velocity = 1000.0 / std::pow(10.0, static_cast<double>(i) / 11.0);
  noNumber[4].velocity = nan;
  zeroSigma[7].sigma = 0.0;
  twice[3].frequency = twice[2].frequency;
  const Case cases[] = {
      {"one point", {{10.0, 200.0, 5.0}}, "the curve has 1 points; the inversion needs 4 or more"},
      {"empty", {}, "the curve has 0 points"},
      {"flat", flat, "the curve is flat"},
      {"a factor 10", decreasing, "the velocities span a factor 10"},
      {"NaN", noNumber, "point 5 has no positive velocity"},
      {"zero sigma", zeroSigma, "point 8 has no positive sigma"},
      {"a frequency twice", twice, "the frequency 15 Hz is given twice"},
  };
  for (const Case& c : cases) {
    const VsProfile p = InvertCurve(c.curve);
    EXPECT_NE(p.error.find(c.why), std::string::npos) << c.name << ": " << p.error;
    EXPECT_EQ(p.modelsTried, 0) << c.name;
    EXPECT_TRUE(p.layers.empty()) << c.name;
  }
}

TEST(VsProfile, OneSeedOneResultAndAStopEndsTheSearch) {
  InversionOptions options;
  options.models = 200;
  options.seed = 7;
  const VsProfile a = InvertCurve(Plain(), options), b = InvertCurve(Plain(), options);
  ASSERT_EQ(a.error, "");
  EXPECT_EQ(a.misfit, b.misfit);
  EXPECT_EQ(a.vs30, b.vs30);
  EXPECT_EQ(a.seed, 7u);
  EXPECT_LE(a.modelsTried, 200);
  EXPECT_FALSE(a.stopped);

  int asked = 0;
  options.models = 100000;
  options.keepGoing = [&] { return ++asked <= 40; };
  const VsProfile stopped = InvertCurve(Plain(), options);
  EXPECT_TRUE(stopped.stopped);
  EXPECT_EQ(stopped.modelsTried, 40);
  EXPECT_EQ(stopped.error, "");
  options.keepGoing = [] { return false; };
  const VsProfile never = InvertCurve(Plain(), options);
  EXPECT_EQ(never.error, "the search was stopped before it found a model");
}

}  // namespace
}  // namespace zentrova
