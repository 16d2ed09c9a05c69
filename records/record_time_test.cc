#include "records/record_time.h"

#include <gtest/gtest.h>

#include "platform/local_time.h"
#include "records/seg2_text.h"
#include "testing/time_zone.h"

namespace zentrova {
namespace {

// The file string area as it stands in a file: entries with length words and NULs.
std::string Area(std::initializer_list<std::string> strings) {
  std::string raw;
  for (const auto& s : strings) {
    raw.push_back(static_cast<char>(s.size() + 3));
    raw.push_back('\0');
    raw += s;
    raw.push_back('\0');
  }
  return NormaliseSeg2Text(raw);
}

int64_t Utc(int y, int mo, int d, int h, int mi, int s) { return *LocalToSeconds({y, mo, d, h, mi, s}); }

TEST(MonthFromName, ThreeSpellingsOfEachMonth) {
  EXPECT_EQ(MonthFromName("jan"), 1);
  EXPECT_EQ(MonthFromName("Jul"), 7);
  EXPECT_EQ(MonthFromName("JUL"), 7);
  EXPECT_EQ(MonthFromName("DEC"), 12);
  EXPECT_EQ(MonthFromName("jUl"), 0);
  EXPECT_EQ(MonthFromName("Jly"), 0);
  EXPECT_EQ(MonthFromName("July"), 7);
}

struct TimeCase {
  const char* name;
  std::string area;
  int result;
  int gpsStatus;
  int64_t time;  // expected tAcquisition (0: unchanged)
  int ms;
  const char* text;
};

TEST(ParseRecordTime, ReadsTheFormsInstrumentsWrite) {
  testing::ScopedTimeZone tz("UTC");
  const int64_t previous = 1000;
  const TimeCase cases[] = {
      {"gps", Area({"$GPZDA,123456.78,05,07,2015,00,00*6A"}), 1, 0, Utc(2015, 7, 5, 12, 34, 56), 780,
       "12:34:56.78 07/05/2015"},
      {"gps beats acquisition keywords",
       Area({"ACQUISITION_DATE 01/Jan/2001", "$GPZDA,123456.78,05,07,2015,00,00*6A"}), 1, 0,
       Utc(2015, 7, 5, 12, 34, 56), 780, "12:34:56.78 07/05/2015"},
      {"empty gps sentence", Area({"$GPZDA,,,,,,*48", "ACQUISITION_DATE 05/Jul/2015", "ACQUISITION_TIME 12:34:56.789"}),
       1, 1, Utc(2015, 7, 5, 12, 34, 56), 789, "12:34:56.789 07/05/2015"},
      {"fixed columns", Area({"ACQUISITION_DATE 05/Jul/2015", "ACQUISITION_TIME 12:34:56.789"}), 1, 2,
       Utc(2015, 7, 5, 12, 34, 56), 789, "12:34:56.789 07/05/2015"},
      {"no fraction", Area({"ACQUISITION_DATE 05/JUL/2015", "ACQUISITION_TIME 12:34:56"}), 1, 2,
       Utc(2015, 7, 5, 12, 34, 56), 0, "12:34:56.000 07/05/2015"},
      {"lower case month", Area({"ACQUISITION_DATE 05/jul/2015", "ACQUISITION_TIME 12:34:56"}), 1, 2,
       Utc(2015, 7, 5, 12, 34, 56), 0, "12:34:56.000 07/05/2015"},
      {"one-digit day", Area({"ACQUISITION_DATE 7/MAR/2018", "ACQUISITION_TIME  3:12:45"}), 1, 2,
       Utc(2018, 3, 7, 3, 12, 45), 0, "03:12:45.000 03/07/2018"},
      {"one-digit hour", Area({"ACQUISITION_DATE 11/APR/2017", "ACQUISITION_TIME 9:08:46"}), 1, 2,
       Utc(2017, 4, 11, 9, 8, 46), 0, "09:08:46.000 04/11/2017"},
      {"numeric month", Area({"ACQUISITION_DATE 17/10/2021", "ACQUISITION_TIME 14:26:29"}), 1, 2,
       Utc(2021, 10, 17, 14, 26, 29), 0, "14:26:29.000 10/17/2021"},
      {"short fraction", Area({"ACQUISITION_DATE 05/Jul/2015", "ACQUISITION_TIME 12:34:56.5"}), 1, 2,
       Utc(2015, 7, 5, 12, 34, 56), 500, "12:34:56.500 07/05/2015"},
      {"date without time", Area({"ACQUISITION_DATE 05/Jul/2015"}), 1, 2, Utc(2015, 7, 5, 0, 0, 0), 0,
       "00:00:00.000 07/05/2015"},
      {"no time at all", Area({"COMPANY Halvorne"}), 0, 3, previous, 0, ""},
      {"misspelt month", Area({"ACQUISITION_DATE 05/Jly/2015", "ACQUISITION_TIME 12:34:56"}), 0, 3, previous, 0, ""},
      {"time without date", Area({"ACQUISITION_TIME 12:34:56"}), 0, 3, previous, 0, ""},
      {"hour out of range", Area({"ACQUISITION_DATE 05/Jul/2015", "ACQUISITION_TIME 25:34:56"}), 0, 3, previous, 0,
       ""},
      {"garbage time", Area({"ACQUISITION_DATE 05/Jul/2015", "ACQUISITION_TIME noon"}), 0, 3, previous, 0, ""},
      {"gps sentence with garbage", Area({"$GPZDA,12ab56.78,05,99,2015,00,00*6A"}), 0, 3, previous, 0, ""},
      {"cut short", Area({"ACQUISITION_DATE 05/J"}), 0, 3, previous, 0, ""},
  };
  for (const TimeCase& c : cases) {
    RecordTimeHeader h;
    h.tAcquisition = previous;
    h.nAcquisitionMs = 0;
    EXPECT_EQ(ParseRecordTime(c.area, h), c.result) << c.name;
    EXPECT_EQ(h.nGpsStatus, c.gpsStatus) << c.name;
    EXPECT_EQ(h.tAcquisition, c.time) << c.name;
    EXPECT_EQ(h.nAcquisitionMs, c.ms) << c.name;
    EXPECT_EQ(h.strAcquisition, c.text) << c.name;
  }
}

TEST(ParseRecordTime, LocalTimeOfTheStation) {
  testing::ScopedTimeZone tz("Europe/Berlin");
  RecordTimeHeader h;
  ASSERT_EQ(ParseRecordTime(Area({"ACQUISITION_DATE 07/JAN/2013", "ACQUISITION_TIME 10:30:41"}), h), 1);
  EXPECT_EQ(h.tAcquisition, 1357551041);  // 09:30:41 UTC
}

}  // namespace
}  // namespace zentrova
