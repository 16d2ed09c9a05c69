#include "platform/number_text.h"

#include <gtest/gtest.h>

namespace zentrova {
namespace {

TEST(NumberText, TakesOnlyAWholeNumber) {
  struct Case {
    const char* text;
    std::optional<int64_t> integer;
    std::optional<double> number;
  };
  const Case cases[] = {
      {"5", 5, 5.0},          {" -5 ", -5, -5.0},    {"2.5", std::nullopt, 2.5},
      {"2s", std::nullopt, std::nullopt},            {"abc", std::nullopt, std::nullopt},
      {"", std::nullopt, std::nullopt},              {"  ", std::nullopt, std::nullopt},
      {"nan", std::nullopt, std::nullopt},           {"inf", std::nullopt, std::nullopt},
      {"1e999", std::nullopt, std::nullopt},         {"99999999999999999999", std::nullopt, 1e20},
      {"0x10", std::nullopt, 16.0},                  {"1 2", std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("\"") + c.text + "\"");
    EXPECT_EQ(WholeInteger(c.text), c.integer);
    EXPECT_EQ(WholeNumber(c.text), c.number);
  }
}

}  // namespace
}  // namespace zentrova
