#include "records/seg2_code3.h"

namespace zentrova {

void UnpackSeg2Code3(std::span<const uint8_t> bytes, int32_t* samples, size_t n) {
  auto word = [&](size_t at) -> uint16_t {
    uint16_t lo = at < bytes.size() ? bytes[at] : 0;
    uint16_t hi = at + 1 < bytes.size() ? bytes[at + 1] : 0;
    return static_cast<uint16_t>(lo | (hi << 8));
  };
  for (size_t group = 0; group * 4 < n; ++group) {
    const size_t base = group * 10;
    const uint16_t shifts = word(base);
    for (size_t k = 0; k < 4 && group * 4 + k < n; ++k) {
      int32_t mantissa = static_cast<int16_t>(word(base + 2 + 2 * k));
      if (mantissa < 0) mantissa += 1;
      const int shift = (shifts >> (4 * k)) & 0xF;
      samples[group * 4 + k] = static_cast<int32_t>(static_cast<int64_t>(mantissa) * (int64_t{1} << shift));
    }
  }
}

}  // namespace zentrova
