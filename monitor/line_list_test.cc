#include "monitor/line_list.h"

#include <gtest/gtest.h>

namespace zentrova {
namespace {

TEST(LineList, DropsTheOldestBeyondItsCapacity) {
  LineList log(20);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(log.Append("line " + std::to_string(i)), i + 1);
  EXPECT_EQ(log.Append("line 20"), 20);
  EXPECT_EQ(log.Count(), 20);
  EXPECT_EQ(log.GetAt(0), "line 1");
  EXPECT_EQ(log.GetAt(19), "line 20");
  EXPECT_EQ(log.nAppended, 21);
}

TEST(LineList, KnownFilesForgetTheOldestPath) {
  LineList known(1024);
  for (int i = 0; i < 1025; ++i) known.Append("/w/" + std::to_string(i) + ".sg2");
  EXPECT_FALSE(known.Contains("/w/0.sg2"));
  EXPECT_TRUE(known.Contains("/w/1.sg2"));
  EXPECT_TRUE(known.Contains("/w/1024.sg2"));
  // The same path twice takes two places, and is known until both are gone.
  LineList two(2);
  two.Append("a");
  two.Append("a");
  two.Append("b");
  EXPECT_TRUE(two.Contains("a"));
  two.Append("c");
  EXPECT_FALSE(two.Contains("a"));
}

}  // namespace
}  // namespace zentrova
