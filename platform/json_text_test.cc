#include "platform/json_text.h"

#include <gtest/gtest.h>

namespace zentrova {
namespace {

TEST(JsonText, EscapesAndKeepsTheOutputValidUtf8) {
  struct Case {
    std::string in;
    std::string out;
  };
  const Case cases[] = {
      {"plain.dat", "\"plain.dat\""},
      {"a\"b\\c", "\"a\\\"b\\\\c\""},
      {"line\nfeed", "\"line\\u000afeed\""},
      {"caf\xc3\xa9.dat", "\"caf\xc3\xa9.dat\""},              // UTF-8 as it stands
      {"\xe2\x82\xac\xf0\x9f\x8c\x8d", "\"\xe2\x82\xac\xf0\x9f\x8c\x8d\""},
      {"bad\xff", "\"bad\\ufffd\""},                            // no UTF-8 byte
      {"latin1 caf\xe9.dat", "\"latin1 caf\\ufffd.dat\""},      // a lead byte without its follower
      {"\xc0\xaf", "\"\\ufffd\\ufffd\""},                       // an overlong form
      {"\xed\xa0\x80", "\"\\ufffd\\ufffd\\ufffd\""},            // a surrogate
      {"cut \xe2\x82", "\"cut \\ufffd\\ufffd\""},
  };
  for (const Case& c : cases) EXPECT_EQ(JsonText(c.in), c.out) << c.in;
  EXPECT_EQ(JsonNumber(1.0 / 0.0), "null");
  EXPECT_EQ(JsonNumber(0.25), "0.25");
}

}  // namespace
}  // namespace zentrova
