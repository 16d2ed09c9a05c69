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

TEST(SurfaceWaveInput, AnEmptyRecordUsesNoTrace) {
  SeismicRecord r;
  SurfaceWaveResult result;
  EXPECT_EQ(PrepareSurfaceWaveInput(r, result), 0);
  EXPECT_EQ(result.nAmpTraces, 0);
}

}  // namespace
}  // namespace zentrova
