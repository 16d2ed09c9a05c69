#include "surfacewave/surface_wave_input.h"

#include <cmath>

#include <gtest/gtest.h>

namespace zentrova {
namespace {

void Fill(SeismicRecord& r, int traces) {
  r.AllocateTraces(traces);
  r.nTraces = traces;
  for (int i = 0; i < traces; ++i) {
    r.pHeader[i].nReceiverLoc = 1000 - 50 * i;                       // 10 m, 9.5 m, ...
    r.pHeader[i].fMaxAmplitude = static_cast<float>(std::pow(10.0, (i % 7) - 2));  // 0.01 .. 10000
  }
}

TEST(SurfaceWaveInput, AmplitudeProfileAndItsExtremes) {
  struct Case {
    int traces, used;
  };
  for (const Case c : {Case{24, 24}, Case{600, 512}, Case{1, 1}}) {
    SCOPED_TRACE(c.traces);
    SeismicRecord r;
    Fill(r, c.traces);
    SurfaceWaveResult result;
    EXPECT_EQ(PrepareSurfaceWaveInput(r, result), c.used);
    EXPECT_EQ(result.nAmpTraces, c.used);
    EXPECT_FLOAT_EQ(result.fPosition[0], 10.0f);
    EXPECT_FLOAT_EQ(result.fPosition[c.used - 1], (1000.0f - 50.0f * static_cast<float>(c.used - 1)) / 100.0f);
    EXPECT_FLOAT_EQ(result.fPosMax, 10.0f);
    EXPECT_FLOAT_EQ(result.fPosMin, result.fPosition[c.used - 1]);
    EXPECT_NEAR(result.fLogAmplitude[3], c.used > 3 ? 1.0f : 0.0f, 1e-6f);
    EXPECT_NEAR(result.fLogAmpMin, -2.0f, 1e-6f);
    EXPECT_NEAR(result.fLogAmpMax, c.used >= 7 ? 4.0f : -2.0f, 1e-6f);
  }
}

TEST(SurfaceWaveInput, ASilentTraceHasNoLogAmplitudeAndStaysOutOfTheExtremes) {
  // Peaks of four traces; 0 is a dead channel.
  struct Case {
    std::vector<float> peaks;
    float min, max;  // NaN: no trace has a log amplitude
  };
  const float none = std::nanf("");
  for (const Case& c : {Case{{0.0f, 10.0f, 100.0f, 1.0f}, 0.0f, 2.0f}, Case{{10.0f, 0.0f, 0.0f, 1000.0f}, 1.0f, 3.0f},
                        Case{{100.0f, 1.0f, 10.0f, 0.0f}, 0.0f, 2.0f}, Case{{0.0f, 0.0f, 0.0f, 0.0f}, none, none}}) {
    SCOPED_TRACE(::testing::PrintToString(c.peaks));
    SeismicRecord r;
    Fill(r, 4);
    for (int i = 0; i < 4; ++i) r.pHeader[i].fMaxAmplitude = c.peaks[i];
    SurfaceWaveResult result;
    ASSERT_EQ(PrepareSurfaceWaveInput(r, result), 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(HasLogAmplitude(result.fLogAmplitude[i]), c.peaks[i] > 0.0f) << i;
    EXPECT_FLOAT_EQ(result.fPosMin, 8.5f);  // every trace keeps its place
    EXPECT_FLOAT_EQ(result.fPosMax, 10.0f);
    if (std::isnan(c.min)) {
      EXPECT_FALSE(HasLogAmplitude(result.fLogAmpMin));
      EXPECT_FALSE(HasLogAmplitude(result.fLogAmpMax));
    } else {
      EXPECT_NEAR(result.fLogAmpMin, c.min, 1e-6f);
      EXPECT_NEAR(result.fLogAmpMax, c.max, 1e-6f);
    }
  }
}

TEST(SurfaceWaveInput, AnEmptyRecordUsesNoTrace) {
  SeismicRecord r;
  SurfaceWaveResult result;
  EXPECT_EQ(PrepareSurfaceWaveInput(r, result), 0);
  EXPECT_EQ(result.nAmpTraces, 0);
}

}  // namespace
}  // namespace zentrova
