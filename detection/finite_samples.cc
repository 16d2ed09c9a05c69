#include "detection/finite_samples.h"

#include <bit>
#include <cmath>
#include <cstdint>

namespace zentrova {

bool AnyBeyond(const float* x, size_t n, float largest) {
  // On the bits: without its sign, a float's bits order as its size does,
  // and NaN and the infinities lie above every finite one. Counted rather
  // than searched, so that the loop runs on whole vectors of samples.
  const uint32_t limit = std::bit_cast<uint32_t>(largest);
  uint32_t beyond = 0;
  for (size_t i = 0; i < n; ++i) beyond += (std::bit_cast<uint32_t>(x[i]) & 0x7fffffffu) > limit ? 1u : 0u;
  return beyond > 0;
}

std::vector<float> FiniteCopy(const float* x, size_t n) {
  std::vector<float> copy(x, x + n);
  for (float& v : copy) {
    if (!std::isfinite(v)) v = 0.0f;
  }
  return copy;
}

}  // namespace zentrova
