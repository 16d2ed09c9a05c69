// Text made UTF-8 for drawing: well-formed characters stay, every other
// byte becomes U+FFFD.

#include "platform/valid_utf8.h"

#include <gtest/gtest.h>

namespace zentrova {
namespace {

constexpr const char* kFFFD = "\xEF\xBF\xBD";

TEST(ValidUtf8, WellFormedCharactersStayAndEveryOtherByteIsReplaced) {
  const std::string r = kFFFD;
  struct Case {
    std::string in, out;
  };
  const Case cases[] = {
      {"shot_0006.dat", "shot_0006.dat"},
      {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8C\x8B", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8C\x8B"},
      {"lat\xE9in1.dat", "lat" + r + "in1.dat"},            // Latin-1
      {"end\xC3", "end" + r},                                 // cut at the end
      {"\xE2\x82x", r + r + "x"},                              // cut inside
      {"\x80\xBF", r + r},                                     // continuation bytes alone
      {"\xC0\xAF\xE0\x80\xAF", r + r + r + r + r},             // overlong forms
      {"\xED\xA0\x80", r + r + r},                             // a surrogate
      {"\xF4\x90\x80\x80\xFF", r + r + r + r + r},             // above U+10FFFF, and 0xFF
      {std::string("a\0b", 3), std::string("a\0b", 3)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(ValidUtf8(c.in), c.out);
    EXPECT_EQ(ValidUtf8(c.out), c.out);
  }
}

}  // namespace
}  // namespace zentrova
