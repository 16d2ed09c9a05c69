#include "surfacewave/profile_list.h"

#include <gtest/gtest.h>

namespace zentrova {
namespace {

SurfaceWaveResult Shot(float posMin, float posMax, float ampMin, float ampMax, int tag) {
  SurfaceWaveResult r;
  r.nAmpTraces = tag;
  r.fPosMin = posMin;
  r.fPosMax = posMax;
  r.fLogAmpMin = ampMin;
  r.fLogAmpMax = ampMax;
  return r;
}

TEST(ProfileList, StartsEmptyWithTheRangesOfItsModes) {
  const ProfileList list;
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.nMaxShots, 20);
  EXPECT_EQ(list.fShotMin, 0.0f);
  EXPECT_EQ(list.fShotMax, 20.0f);
  const float expected[3][4] = {{0, 0, 0, 0}, {0, 10000, 0, 6000}, {0, 5000, 0, 3000}};
  for (int m = 0; m < 3; ++m) {
    SCOPED_TRACE(m);
    EXPECT_EQ(list.range[m].fAxisMin, expected[m][0]);
    EXPECT_EQ(list.range[m].fAxisMax, expected[m][1]);
    EXPECT_EQ(list.range[m].fColourMin, expected[m][2]);
    EXPECT_EQ(list.range[m].fColourMax, expected[m][3]);
  }
}

TEST(ProfileList, KeepsTheLastTwentyCopiesAndTheirAmplitudeRange) {
  ProfileList list;
  // Shot 1 holds the widest range; it is dropped by the 21st append.
  EXPECT_EQ(list.AppendResult(Shot(-10.0f, 90.0f, -3.0f, 5.0f, 1)), 1);
  EXPECT_EQ(list.range[0].fAxisMin, -10.0f);
  EXPECT_EQ(list.range[0].fColourMax, 5.0f);
  for (int tag = 2; tag <= 20; ++tag) EXPECT_EQ(list.AppendResult(Shot(5.0f, 51.0f, -1.0f, 2.0f, tag)), tag);
  SurfaceWaveResult last = Shot(4.0f, 50.0f, -0.5f, 2.5f, 21);
  EXPECT_EQ(list.AppendResult(last), 20);
  last.nAmpTraces = 99;  // a copy was kept, not the caller's block
  ASSERT_EQ(list.Count(), 20);
  EXPECT_EQ(list.results.front().nAmpTraces, 2);
  EXPECT_EQ(list.results.back().nAmpTraces, 21);
  EXPECT_EQ(list.range[0].fAxisMin, 4.0f);
  EXPECT_EQ(list.range[0].fAxisMax, 51.0f);
  EXPECT_EQ(list.range[0].fColourMin, -1.0f);
  EXPECT_EQ(list.range[0].fColourMax, 2.5f);
  // The other modes' ranges are not the append's business.
  EXPECT_EQ(list.range[1].fAxisMax, 10000.0f);
}

TEST(ProfileList, ARecordWithoutLogAmplitudesTakesNoPartInTheColourRange) {
  // Its positions count; its colour range, which it has not, does not.
  const float none = kNoLogAmplitude;
  ProfileList list;
  list.AppendResult(Shot(0.0f, 46.0f, none, none, 1));
  EXPECT_EQ(list.range[0].fColourMin, 0.0f);
  EXPECT_EQ(list.range[0].fColourMax, 0.0f);
  list.AppendResult(Shot(2.0f, 40.0f, 1.5f, 3.5f, 2));
  list.AppendResult(Shot(-4.0f, 44.0f, none, none, 3));
  list.AppendResult(Shot(2.0f, 40.0f, 1.0f, 3.0f, 4));
  EXPECT_EQ(list.range[0].fAxisMin, -4.0f);
  EXPECT_EQ(list.range[0].fAxisMax, 46.0f);
  EXPECT_EQ(list.range[0].fColourMin, 1.0f);
  EXPECT_EQ(list.range[0].fColourMax, 3.5f);
}

TEST(ProfileList, ThePicksAndTheModelSetTheRangesOfTheirModes) {
  ProfileList list;
  DispersionSettings s;
  s.fFreqMin = 2.0f;
  s.fFreqMax = 40.0f;
  s.fVelMin = 0.05f;
  s.fVelEnd = 0.8f;
  list.SetPickRange(s);
  list.SetModelRange(s);
  EXPECT_EQ(list.range[1].fAxisMin, 2.0f);
  EXPECT_EQ(list.range[1].fAxisMax, 40.0f);
  EXPECT_FLOAT_EQ(list.range[1].fColourMin, 50.0f);
  EXPECT_FLOAT_EQ(list.range[1].fColourMax, 800.0f);
  EXPECT_EQ(list.range[2].fAxisMin, 0.0f);
  EXPECT_EQ(list.range[2].fAxisMax, 15.0f);
  EXPECT_FLOAT_EQ(list.range[2].fColourMin, 50.0f);
  EXPECT_FLOAT_EQ(list.range[2].fColourMax, 800.0f);
}

}  // namespace
}  // namespace zentrova
