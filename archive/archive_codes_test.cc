// The names of the archive: stream codes, the SDS layout and the cut at
// 00:00 UTC.

#include <gtest/gtest.h>

#include "archive/day_split.h"
#include "archive/sds_path.h"
#include "archive/stream_codes.h"
#include "platform/memory_file_system.h"

namespace zentrova {
namespace {

constexpr int64_t kDayUs = int64_t{86400} * 1000000;
// 2024-02-28 00:00:00 UTC
constexpr int64_t k20240228 = int64_t{1709078400} * 1000000;

TEST(StreamCodes, BandCodesFollowTheSeedTableForShortPeriodSensors) {
  struct Case { double rate; char band; } cases[] = {
      {8000, 'G'}, {4000, 'G'}, {1000, 'G'}, {999.9, 'D'}, {500, 'D'}, {250, 'D'}, {200, 'E'}, {100, 'E'},
      {80, 'E'},   {50, 'S'},   {10, 'S'},   {5, 'M'},     {1, 'L'},   {0.1, 'V'}, {0.01, 'U'},
  };
  for (const Case& c : cases) EXPECT_EQ(BandCode(c.rate), c.band) << c.rate;
  EXPECT_EQ(ChannelCode(500, 'Z'), "DPZ");
  EXPECT_EQ(ChannelCode(100, 'N'), "EPN");
}

TEST(StreamCodes, NetworkAndStationCodesAreMadeOfCapitalsAndDigits) {
  struct Case { const char* stored; const char* site; const char* network; const char* station; } cases[] = {
      {"", "Hill-Top 7", "XX", "HILLT"},  {"xy", "S1", "XY", "S1"},     {"7K_", "ab", "7K", "AB"},
      {"ABC", "", "AB", "ZENT"},          {"X", "Sité", "X", "SIT"},    {"--", "12345678", "XX", "12345"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NetworkCodeOf(c.stored), c.network) << c.stored;
    EXPECT_EQ(StationCodeOf("", c.site), c.station) << c.site;
  }
  EXPECT_EQ(StationCodeOf("dam2", "ignored"), "DAM2");
}

TEST(StreamCodes, LocationCodesAreTheTracePositionUpToTheHundredth) {
  EXPECT_EQ(LocationCode(0), "00");
  EXPECT_EQ(LocationCode(7), "07");
  EXPECT_EQ(LocationCode(99), "99");
  EXPECT_EQ(LocationCode(100), "");
}

TEST(SdsPath, ATwoDayRunLiesInTheSdsPattern) {
  MemoryFileSystem fs;
  const StreamId id{"XX", "SITE", "03", "DPZ"};
  // 31 December 2023 and 1 January 2024 (day 365 and day 1).
  const int64_t newYear = int64_t{1704067200} * 1000000;
  EXPECT_EQ(SdsDayPath(fs, "/d/SDS", id, UtcDayOf(newYear - 1)), "/d/SDS/2023/XX/SITE/DPZ.D/XX.SITE.03.DPZ.D.2023.365");
  EXPECT_EQ(SdsDayPath(fs, "/d/SDS", id, UtcDayOf(newYear)), "/d/SDS/2024/XX/SITE/DPZ.D/XX.SITE.03.DPZ.D.2024.001");
  // A leap year has a 29 February and a day 366.
  EXPECT_EQ(UtcDayOf(k20240228 + kDayUs).dayOfYear, 60);
  EXPECT_EQ(UtcDayOf(newYear + 365 * kDayUs).dayOfYear, 366);
  auto day = DayOfSdsName("XX.SITE.03.DPZ.D.2024.060");
  ASSERT_TRUE(day.has_value());
  EXPECT_EQ(day->startUs, k20240228 + kDayUs);
  for (const char* wrong : {"XX.SITE.03.DPZ.D.2023.366", "XX.SITE.03.DPZ.D.2024.000", "XX.SITE.03.DPZ.D.24.001",
                            "XX.SITE.03.DPZ.2024.001", "XX.SITE.03.DPZ.D.2024.001.tmp"}) {
    EXPECT_FALSE(DayOfSdsName(wrong).has_value()) << wrong;
  }
}

TEST(DaySplit, ATraceAcrossMidnightIsCutExactlyThere) {
  ArchiveTrace t;
  t.intervalUs = 4000;  // 250 Hz
  t.ints.assign(1000, 1);
  // 1.5 s before midnight plus 0.0017 s: samples ...23:59:59.9977 and 00:00:00.0017.
  const int64_t start = k20240228 + kDayUs - 1498300;
  const auto pieces = SplitAtMidnights(t, start);
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[0].piece.first, 0u);
  EXPECT_EQ(pieces[0].piece.count, 375u);  // samples 0..374 lie before midnight
  EXPECT_EQ(pieces[1].piece.first, 375u);
  EXPECT_EQ(pieces[1].piece.startUs, k20240228 + kDayUs + 1700);
  EXPECT_EQ(pieces[1].piece.count, 625u);
  EXPECT_EQ(pieces[0].day.dayOfYear, 59);
  EXPECT_EQ(pieces[1].day.dayOfYear, 60);
  // A sample right on midnight opens the new day.
  const auto onMidnight = SplitAtMidnights(t, k20240228 + kDayUs - 400000);
  ASSERT_EQ(onMidnight.size(), 2u);
  EXPECT_EQ(onMidnight[0].piece.count, 100u);
  EXPECT_EQ(onMidnight[1].piece.startUs, k20240228 + kDayUs);
}

}  // namespace
}  // namespace zentrova
