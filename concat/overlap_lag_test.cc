#include "concat/overlap_lag.h"

#include <vector>

#include <gtest/gtest.h>

namespace zentrova {
namespace {

TEST(BestOverlapLag, FindsTheShiftOfAMatchingHead) {
  // cur[j] = prev[3 + j]: the next record begins 3 samples later.
  std::vector<float> prev(1000), cur(1000);
  for (int j = 0; j < 1000; ++j) prev[j] = static_cast<float>((j * 7919) % 1001) - 500.0f;
  for (int j = 0; j < 1000; ++j) cur[j] = j + 3 < 1000 ? prev[j + 3] : 0.0f;
  EXPECT_EQ(BestOverlapLag(1000, prev.data(), cur.data()), 3);
  EXPECT_EQ(BestOverlapLagDirect(1000, prev.data(), cur.data()), 3);
  EXPECT_EQ(BestOverlapLag(1, prev.data(), cur.data()), 0);
  EXPECT_EQ(BestOverlapLag(0, prev.data(), cur.data()), 0);
}

TEST(BestOverlapLag, SameLagAsTheFormulaOnRandomAndConstantData) {
  uint32_t seed = 99;
  auto next = [&] {
    seed = seed * 1664525u + 1013904223u;
    return static_cast<float>(seed >> 8) / 16777216.0f - 0.5f;
  };
  for (int n : {2, 3, 5, 16, 17, 100, 333, 1000}) {
    std::vector<float> prev(static_cast<size_t>(n)), cur(static_cast<size_t>(n));
    for (int round = 0; round < 4; ++round) {
      for (int j = 0; j < n; ++j) {
        prev[j] = next() * 1000.0f;
        cur[j] = round % 2 ? next() * 1000.0f : prev[(j + round) % n];
      }
      EXPECT_EQ(BestOverlapLag(n, prev.data(), cur.data()), BestOverlapLagDirect(n, prev.data(), cur.data()))
          << n << " " << round;
    }
    std::fill(prev.begin(), prev.end(), 4.25f);
    std::fill(cur.begin(), cur.end(), 4.25f);
    EXPECT_EQ(BestOverlapLag(n, prev.data(), cur.data()), BestOverlapLagDirect(n, prev.data(), cur.data())) << n;
    EXPECT_EQ(BestOverlapLag(n, prev.data(), cur.data()), n / 2);  // a tie everywhere: the largest lag
    std::fill(cur.begin(), cur.end(), 0.0f);
    EXPECT_EQ(BestOverlapLag(n, prev.data(), cur.data()), BestOverlapLagDirect(n, prev.data(), cur.data())) << n;
  }
}

}  // namespace
}  // namespace zentrova
