#include "records/record_file_name.h"

#include <gtest/gtest.h>

#include "testing/time_zone.h"

namespace zentrova {
namespace {

TEST(RecordFileName, LocalTimeWithMilliseconds) {
  testing::ScopedTimeZone tz("UTC");
  EXPECT_EQ(RecordFileName(1436099696, 789, "ABC", 7), "20150705_123456.789_ABC_7.dat");
  EXPECT_EQ(RecordFileName(1436099696, 5, "SITE", 1234), "20150705_123456.005_SITE_1234.dat");
  EXPECT_EQ(JoinedRecordFileName(1436099696, 0, "ABC", 7, 19), "20150705_123456.000_ABC_7_19.dat");
  EXPECT_EQ(RecordNameStem(1436099696, 5, "SITE", 1234), "20150705_123456.005_SITE_1234");
}

TEST(RecordFileName, InTheStationsZone) {
  testing::ScopedTimeZone tz("Europe/Berlin");
  EXPECT_EQ(RecordFileName(1436099696, 789, "ABC", 7), "20150705_143456.789_ABC_7.dat");
}

}  // namespace
}  // namespace zentrova
