#include "surfacewave/spread_geometry.h"

#include <gtest/gtest.h>

namespace zentrova {
namespace {

std::vector<ReceiverPlace> Line(std::vector<float> positions, float source, bool given) {
  std::vector<ReceiverPlace> places;
  for (float p : positions) places.push_back({p, source, given});
  return places;
}

TEST(SpreadGeometry, TheSourceEndFromAGivenSourceOutsideTheSpreadElseTheLouderEnd) {
  struct Case {
    const char* name;
    std::vector<ReceiverPlace> places;
    int louder;
    int direction;
    bool fromSource;
    double firstDistance;
  };
  const Case cases[] = {
      {"source before the first receiver", Line({0, 3, 6, 9}, -6, true), 1, 0, true, 6.0},
      {"source beyond the last receiver", Line({0, 3, 6, 9}, 15, true), 0, 1, true, 15.0},
      {"receivers in reverse, source before the first", Line({9, 6, 3, 0}, 12, true), 1, 0, true, 3.0},
      {"source inside the spread: the louder end", Line({0, 3, 6, 9}, 4, true), 1, 1, false, 9.0},
      {"source at the first receiver: the louder end", Line({0, 3, 6, 9}, 0, true), 0, 0, false, 0.0},
      {"no source location (0 by default): the louder end", Line({100, 103, 106}, 0, false), 1, 1, false, 6.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SpreadGeometry g = MeasureSpread(c.places, c.louder);
    EXPECT_EQ(g.direction, c.direction);
    EXPECT_EQ(g.fromSource, c.fromSource);
    ASSERT_EQ(g.distance.size(), c.places.size());
    EXPECT_DOUBLE_EQ(g.distance[0], c.firstDistance);
  }
}

TEST(SpreadGeometry, SpacingLengthAndTheEvenGridTheImageRepeatsOn) {
  struct Case {
    const char* name;
    std::vector<float> positions;
    double smallest;
    double length;
    double grid;
  };
  const Case cases[] = {
      {"evenly spaced", {5, 7, 9, 11}, 2.0, 6.0, 2.0},
      {"spacings that are multiples of the smallest", {5, 6, 7, 9, 11, 16}, 1.0, 11.0, 1.0},
      {"off any grid", {0, 1.0f, 2.3f, 5.2f}, 1.0, 5.2, 0.0},
      {"two receivers at one place", {0, 2, 2, 4}, 2.0, 4.0, 2.0},
      {"all at one place", {3, 3, 3}, 0.0, 0.0, 0.0},
      {"one receiver", {3}, 0.0, 0.0, 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SpreadGeometry g = MeasureSpread(Line(c.positions, -1, true), 0);
    EXPECT_NEAR(g.smallestSpacing, c.smallest, 1e-6);
    EXPECT_NEAR(g.length, c.length, 1e-6);
    EXPECT_NEAR(g.aliasSpacing, c.grid, 1e-6);
  }
}

}  // namespace
}  // namespace zentrova
