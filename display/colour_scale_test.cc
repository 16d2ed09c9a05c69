#include "display/colour_scale.h"

#include <cmath>

#include <gtest/gtest.h>

namespace zentrova {
namespace {

struct Case {
  float value;
  Rgb colour;
};

ColourScale SpreadSpectrum(float lo, float hi) {
  ColourScale s = SpectrumScale();
  s.SpreadThresholds(lo, hi);
  return s;
}

TEST(ColourScale, NoScaleUsesTheColourOfNoData) {
  for (const ColourScale& scale : {SpectrumScale(), VelocityScale()}) {
    for (const auto& row : scale.rows()) EXPECT_FALSE(row.colour == kNoDataColour);
  }
}

TEST(ColourScale, SpectrumOverZeroToOne) {
  const ColourScale s = SpreadSpectrum(0.0f, 1.0f);
  ASSERT_EQ(s.rows().size(), 36u);
  const float step = 1.0f / 36.0f;
  for (const Case c : {Case{1.0f, {0, 0, 255}},            // a row's peak
                       Case{0.0f, {255, 0, 255}},
                       Case{step * 0.99f, {255, 0, 255}},  // below 1/36
                       Case{step, {255, 0, 200}},          // exactly 1/36: already the second colour
                       Case{step * 5.5f, {255, 0, 0}},
                       Case{step * 13.5f, {255, 255, 0}},
                       Case{step * 25.5f, {0, 255, 0}},
                       Case{step * 35.0f, {0, 0, 255}},
                       Case{-3.0f, {255, 0, 255}},
                       Case{20000000.0f, {0, 0, 255}},     // past the last threshold: the last colour
                       Case{std::nanf(""), {255, 0, 255}}}) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(s.ColourOf(c.value), c.colour);
  }
}

TEST(ColourScale, SpreadPutsRowKAtLoPlusKPlusOneSteps) {
  const ColourScale s = SpreadSpectrum(-1.0f, 2.0f);
  for (int k = 0; k < 35; ++k) {
    SCOPED_TRACE(k);
    EXPECT_NEAR(s.rows()[k].threshold, -1.0 + (k + 1) / 12.0, 1e-6);
  }
  EXPECT_EQ(s.rows()[35].threshold, 10000000.0f);
  // The last spectrum colours, in order.
  EXPECT_EQ(s.rows()[26].colour, (Rgb{0, 225, 25}));
  EXPECT_EQ(s.rows()[34].colour, (Rgb{0, 25, 225}));
}

TEST(ColourScale, VelocityByItsFixedThresholds) {
  const ColourScale s = VelocityScale();
  ASSERT_EQ(s.rows().size(), 26u);
  for (const Case c : {Case{250.0f, {0, 255, 0}},  // the first threshold above is 260
                       Case{39.9f, {255, 0, 255}}, Case{0.0f, {255, 0, 255}}, Case{40.0f, {255, 0, 200}},
                       Case{90.0f, {255, 165, 0}}, Case{170.0f, {200, 255, 0}}, Case{359.0f, {0, 0, 255}},
                       Case{499.9f, {130, 0, 255}}, Case{500.0f, {160, 0, 255}}, Case{1.0e7f, {160, 0, 255}},
                       Case{1.0e9f, {160, 0, 255}}}) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(s.ColourOf(c.value), c.colour);
  }
}

}  // namespace
}  // namespace zentrova
