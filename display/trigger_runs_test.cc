// Trigger times gathered into runs.

#include "display/trigger_runs.h"

#include <cmath>

#include <gtest/gtest.h>

namespace zentrova {
namespace {

TEST(TriggerRuns, ARunEndsWhereTheNextTimeIsMoreThanTheGapAway) {
  struct Case {
    const char* what;
    std::vector<float> times;
    double gap;
    std::vector<std::pair<float, float>> runs;
  } cases[] = {
      {"none", {}, 0.0015, {}},
      {"one", {0.5f}, 0.0015, {{0.5f, 0.5f}}},
      {"consecutive samples", {0.100f, 0.101f, 0.102f, 0.103f}, 0.0015, {{0.100f, 0.103f}}},
      {"a sample missing", {0.100f, 0.101f, 0.103f, 0.104f}, 0.0015, {{0.100f, 0.101f}, {0.103f, 0.104f}}},
      {"no gap known: equal times", {0.1f, 0.1f, 0.2f}, 0.0, {{0.1f, 0.1f}, {0.2f, 0.2f}}},
      {"not a number skipped", {0.1f, std::nanf(""), 0.101f}, 0.0015, {{0.1f, 0.101f}}},
  };
  for (const Case& c : cases) {
    std::vector<std::pair<float, float>> runs;
    for (const TriggerRun& r : TriggerRuns(c.times.data(), static_cast<int>(c.times.size()), c.gap)) {
      runs.emplace_back(r.first, r.last);
    }
    EXPECT_EQ(runs, c.runs) << c.what;
  }
}

TEST(TriggerRuns, TheGapIsOneAndAHalfSamplesOrTheLongerDetectorWindow) {
  EXPECT_DOUBLE_EQ(TriggerRunGap(1000.0f), 0.0015);
  EXPECT_DOUBLE_EQ(TriggerRunGap(125.0f), 0.0001875);
  EXPECT_DOUBLE_EQ(TriggerRunGap(1000.0f, 50.0f, 20.0f), 0.05);
  EXPECT_DOUBLE_EQ(TriggerRunGap(1000.0f, 0.5f, 1.0f), 0.0015);
}

}  // namespace
}  // namespace zentrova
