#include "platform/local_time.h"

#include <gtest/gtest.h>

#include "testing/time_zone.h"

namespace zentrova {
namespace {

TEST(LocalTime, ConvertsInThePinnedZone) {
  {
    testing::ScopedTimeZone tz("UTC");
    EXPECT_EQ(LocalToSeconds({2015, 7, 5, 12, 34, 56}), 1436099696);
    auto t = SecondsToLocal(1436099696);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->hour, 12);
    EXPECT_EQ(LocalToSeconds({1969, 12, 31, 23, 59, 59}), -1);
  }
  {
    testing::ScopedTimeZone tz("Europe/Berlin");
    EXPECT_EQ(LocalToSeconds({2015, 7, 5, 14, 34, 56}), 1436099696);  // summer time, UTC+2
    EXPECT_EQ(LocalToSeconds({2013, 1, 7, 10, 30, 41}), 1357551041);  // winter, UTC+1
    auto t = SecondsToLocal(1357551041);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->hour, 10);
    EXPECT_EQ(t->day, 7);
  }
}

}  // namespace
}  // namespace zentrova
