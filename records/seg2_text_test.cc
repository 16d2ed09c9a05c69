#include "records/seg2_text.h"

#include <gtest/gtest.h>

namespace zentrova {
namespace {

TEST(Seg2Text, LineFeedsAndNulsBecomeBlanks) {
  EXPECT_EQ(NormaliseSeg2Text(std::string("A\0B\nC\r", 6)), "A B C\r");
}

TEST(Seg2Text, ScansLikeCConversions) {
  struct Case { const char* text; std::optional<float> f; std::optional<int> d; };
  const Case cases[] = {
      {"  0.000125", 0.000125f, 0},   {"-0.010", -0.010f, 0},   {"+3", 3.0f, 3},
      {"\f 12 DB", 12.0f, 12},        {"3.000000 0.0 0.0", 3.0f, 3}, {"SEISMIC_DATA", std::nullopt, std::nullopt},
      {"", std::nullopt, std::nullopt}, {"nan", std::nullopt, std::nullopt}, {"inf", std::nullopt, std::nullopt},
      {"1e999", std::nullopt, 1},     {"99999999999", 99999999999.0f, std::nullopt}, {"- 5", std::nullopt, std::nullopt},
      {".5", 0.5f, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScanFloat(c.text, 0), c.f) << c.text;
    EXPECT_EQ(ScanInt(c.text, 0), c.d) << c.text;
  }
  EXPECT_EQ(ScanInt("12", 5), std::nullopt);
}

TEST(Seg2Text, KeywordsAndFixedColumns) {
  const std::string text = "CHANNEL_NUMBER 1 DELAY -0.050 FIXED_GAIN  1 DB DELAY 9";
  EXPECT_EQ(KeywordFloat(text, "DELAY"), -0.050f);
  EXPECT_EQ(KeywordInt(text, "FIXED_GAIN"), 1);
  EXPECT_EQ(KeywordInt(text, "STACK"), std::nullopt);
  EXPECT_EQ(FixedInt("ab12cd", 2, 2), 12);
  EXPECT_EQ(FixedInt("ab1", 2, 2), std::nullopt);
  EXPECT_EQ(FixedInt("ab 7", 2, 2), 7);
}

}  // namespace
}  // namespace zentrova
