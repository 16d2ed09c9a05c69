#include "records/seg2_code3.h"

#include <vector>

#include <gtest/gtest.h>

namespace zentrova {
namespace {

std::vector<uint8_t> Group(uint16_t shifts, int16_t a, int16_t b, int16_t c, int16_t d) {
  std::vector<uint8_t> g;
  for (uint16_t w : {shifts, uint16_t(a), uint16_t(b), uint16_t(c), uint16_t(d)}) {
    g.push_back(static_cast<uint8_t>(w & 0xFF));
    g.push_back(static_cast<uint8_t>(w >> 8));
  }
  return g;
}

TEST(UnpackSeg2Code3, MantissaShiftedByItsCount) {
  auto bytes = Group(0x3210, 5, 5, 5, 5);
  int32_t s[4];
  UnpackSeg2Code3(bytes, s, 4);
  EXPECT_EQ(s[0], 5);
  EXPECT_EQ(s[1], 10);
  EXPECT_EQ(s[2], 20);
  EXPECT_EQ(s[3], 40);
}

TEST(UnpackSeg2Code3, NegativeMantissasAreOnesComplement) {
  auto bytes = Group(0xF100, -21, -1, -1, -32768);
  int32_t s[4];
  UnpackSeg2Code3(bytes, s, 4);
  EXPECT_EQ(s[0], -20);
  EXPECT_EQ(s[1], 0);          // one's complement minus zero
  EXPECT_EQ(s[2], 0);
  EXPECT_EQ(s[3], -32767 * 32768);
}

TEST(UnpackSeg2Code3, PartialLastGroupReadsZerosPastTheBytes) {
  auto bytes = Group(0x0000, 1, 2, 3, 4);
  auto second = Group(0x0011, 7, 8, 9, 10);
  bytes.insert(bytes.end(), second.begin(), second.begin() + 5);  // 15 bytes for 6 samples
  int32_t s[6];
  UnpackSeg2Code3(bytes, s, 6);
  EXPECT_EQ(s[3], 4);
  EXPECT_EQ(s[4], 14);  // 7 << 1
  EXPECT_EQ(s[5], 16);  // 8 << 1: the high byte of its mantissa lies beyond the 15 bytes
}

}  // namespace
}  // namespace zentrova
