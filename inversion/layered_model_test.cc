#include "inversion/layered_model.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace zentrova {
namespace {

// Vs30 by hand: model 0 of masw-synthetic is 1 m at 100 m/s over 200 m/s,
// 30 / (1/100 + 29/200); model 1 is 2, 4 and 8 m at 80, 120 and 180 m/s
// over 360 m/s, 30 / (2/80 + 4/120 + 8/180 + 16/360).
TEST(LayeredModel, TimeAveragedVsContinuesTheHalfSpace) {
  const LayeredModel model0 = {{1.0, 200.0, 100.0, 2000.0}, {0.0, 400.0, 200.0, 2000.0}};
  const LayeredModel model1 = {{2.0, 360.0, 80.0, 1800.0}, {4.0, 1000.0, 120.0, 1800.0},
                               {8.0, 1400.0, 180.0, 1800.0}, {0.0, 1400.0, 360.0, 1800.0}};
  EXPECT_NEAR(TimeAveragedVs(model0, 30.0), 30.0 / (0.01 + 29.0 / 200.0), 1e-9);
  EXPECT_NEAR(TimeAveragedVs(model1, 30.0), 30.0 / (2.0 / 80 + 4.0 / 120 + 8.0 / 180 + 16.0 / 360), 1e-9);
  EXPECT_NEAR(TimeAveragedVs(model1, 30.0), 203.8, 0.1);
  // A depth inside the layers counts only what lies above it.
  EXPECT_NEAR(TimeAveragedVs(model1, 4.0), 4.0 / (2.0 / 80 + 2.0 / 120), 1e-9);
  EXPECT_EQ(TimeAveragedVs(model1, 0.0), 0.0);
  EXPECT_EQ(TimeAveragedVs({}, 30.0), 0.0);
}

TEST(LayeredModel, CheckModelRefusesWhatCannotCarryWaves) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    LayeredModel model;
    const char* why;  // empty: accepted
  };
  const Case cases[] = {
      {{{0.0, 400.0, 200.0, 2000.0}}, ""},
      {{{1.0, 200.0, 100.0, 2000.0}, {0.0, 400.0, 200.0, 2000.0}}, ""},
      {{}, "the model has no half-space"},
      {{{0.0, 400.0, 0.0, 2000.0}}, "the half-space needs positive velocities and density"},
      {{{1.0, 200.0, nan, 2000.0}, {0.0, 400.0, 200.0, 2000.0}}, "layer 1 needs positive velocities and density"},
      {{{1.0, 110.0, 100.0, 2000.0}, {0.0, 400.0, 200.0, 2000.0}}, "layer 1 has vp below 1.2 vs"},
      {{{0.0, 200.0, 100.0, 2000.0}, {0.0, 400.0, 200.0, 2000.0}}, "layer 1 needs a positive thickness"},
      {LayeredModel(65, {1.0, 400.0, 200.0, 2000.0}), "the model has more than 64 layers"},
  };
  for (const Case& c : cases) EXPECT_EQ(CheckModel(c.model), c.why);
}

}  // namespace
}  // namespace zentrova
