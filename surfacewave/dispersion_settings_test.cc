#include "surfacewave/dispersion_settings.h"

#include <gtest/gtest.h>

#include "platform/key_value_store.h"

namespace zentrova {
namespace {

TEST(DispersionSettings, DefaultsWithoutStoredValues) {
  MemoryStore profile, product;
  Settings settings(profile, product);
  DispersionSettings s;
  s.Load(settings);
  EXPECT_FLOAT_EQ(s.fFreqMin, 0.0f);
  EXPECT_FLOAT_EQ(s.fFreqMax, 50.0f);
  EXPECT_FLOAT_EQ(s.fVelMin, 0.0f);
  EXPECT_FLOAT_EQ(s.fVelEnd, 0.5f);
  EXPECT_FLOAT_EQ(s.fVelStep, 0.0025f);
  EXPECT_EQ(s.nDirection, 0);
  EXPECT_EQ(s.bMedianFilter, 1);
  EXPECT_EQ(s.MinMaxPlot, 1);
  EXPECT_FLOAT_EQ(s.fWavelength[9], 200.0f);
}

TEST(DispersionSettings, ReadsEveryStoredKeyAndKeepsTheDefaultForUnreadableText) {
  MemoryStore profile, product;
  struct Case {
    const char* key;
    const char* text;
  };
  const Case cases[] = {{"PV_END", "0.800000"},         {"PV_INTERVAL", "0.005000"},
                        {"PV_DIRECTION", "1"},          {"bMedianFilter", "0"},
                        {"MinMaxPlot", "0"},            {"bPhaseVelocityArea", "1"},
                        {"PhaseVelocityArea", "250.5"}, {"nConstantVelocityLines", "3"},
                        {"fWavelength_0", "12.000000"}, {"fWavelength_9", "not a number"},
                        {"PV_START", "0.050000"},       {"FREQ_END", "80.000000"}};
  for (const Case& c : cases) profile.Set(c.key, c.text);
  Settings settings(profile, product);
  DispersionSettings s;
  s.Load(settings);
  EXPECT_FLOAT_EQ(s.fVelEnd, 0.8f);
  EXPECT_FLOAT_EQ(s.fVelStep, 0.005f);
  EXPECT_FLOAT_EQ(s.fVelMin, 0.05f);
  EXPECT_FLOAT_EQ(s.fFreqMax, 80.0f);
  EXPECT_EQ(s.nDirection, 1);
  EXPECT_EQ(s.bMedianFilter, 0);
  EXPECT_EQ(s.MinMaxPlot, 0);
  EXPECT_EQ(s.bPhaseVelocityArea, 1);
  EXPECT_FLOAT_EQ(s.PhaseVelocityArea, 250.5f);
  EXPECT_EQ(s.nConstantVelocityLines, 3);
  EXPECT_FLOAT_EQ(s.fWavelength[0], 12.0f);
  EXPECT_FLOAT_EQ(s.fWavelength[9], 200.0f);
}

TEST(DispersionSettings, WritesBackOnlyTheStoredOnlyValuesInTheirFormats) {
  MemoryStore profile, product;
  Settings settings(profile, product);
  DispersionSettings s;
  s.fVelEnd = 0.9f;  // never written
  s.nDirection = 1;  // never written
  s.nConstantVelocityLines = 2;
  s.fWavelength[3] = 85.5f;
  s.SaveExtras(settings);
  EXPECT_FALSE(profile.Get("PV_END").has_value());
  EXPECT_FALSE(profile.Get("PV_INTERVAL").has_value());
  EXPECT_FALSE(profile.Get("PV_DIRECTION").has_value());
  EXPECT_FALSE(profile.Get("PV_START").has_value());
  EXPECT_FALSE(profile.Get("FREQ_END").has_value());
  EXPECT_EQ(profile.Get("bMedianFilter").value_or(""), "1");
  EXPECT_EQ(profile.Get("MinMaxPlot").value_or(""), "1");
  EXPECT_EQ(profile.Get("bPhaseVelocityArea").value_or(""), "0");
  EXPECT_EQ(profile.Get("PhaseVelocityArea").value_or(""), "100.000000");
  EXPECT_EQ(profile.Get("nConstantVelocityLines").value_or(""), "2");
  EXPECT_EQ(profile.Get("fWavelength_3").value_or(""), "85.500000");
  EXPECT_EQ(profile.Get("fWavelength_0").value_or(""), "20.000000");
}

}  // namespace
}  // namespace zentrova
