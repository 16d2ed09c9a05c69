#include "concat/running_number.h"

#include <gtest/gtest.h>

namespace zentrova {
namespace {

TEST(RunningNumber, DigitsAfterTheLastUnderscore) {
  EXPECT_EQ(RunningNumber("20200315_080405.123_S1_1234.dat"), 1234);
  EXPECT_EQ(RunningNumber("x_ab12cd34.dat"), 12);
  EXPECT_EQ(RunningNumber("1234.dat"), 1234);
  EXPECT_EQ(RunningNumber("rec_.dat"), std::nullopt);
  EXPECT_EQ(RunningNumber("rec_x.dat"), std::nullopt);
  EXPECT_EQ(RunningNumber("rec_99999999999.dat"), std::nullopt);  // does not fit an int: not joined
  EXPECT_EQ(RunningNumber("rec_2147483647.dat"), 2147483647);
}

}  // namespace
}  // namespace zentrova
