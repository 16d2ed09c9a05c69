// Lines cut at the frame and cells trimmed to it, checked on hand-made
// shapes whose cuts are known.

#include "display/frame_clip.h"

#include <gtest/gtest.h>

namespace zentrova {
namespace {

using Points = std::vector<PagePoint>;
constexpr FrameBox kBox{150, 1233, -566, -150};  // left, right, bottom, top

TEST(ClipPolyline, PartsInsideTheFrame) {
  struct Case {
    const char* what;
    Points line;
    std::vector<Points> parts;
  } cases[] = {
      {"inside", {{200, -200}, {300, -300}, {400, -250}}, {{{200, -200}, {300, -300}, {400, -250}}}},
      {"on the edges", {{150, -150}, {1233, -566}}, {{{150, -150}, {1233, -566}}}},
      {"a spike above the top", {{200, -300}, {210, -100}, {220, -300}},
       {{{200, -300}, {208, -150}}, {{213, -150}, {220, -300}}}},
      {"a swing through the frame", {{200, -100}, {200, -600}}, {{{200, -150}, {200, -566}}}},
      {"wholly above", {{200, -100}, {300, -50}}, {}},
      {"beyond the right edge", {{1200, -200}, {1300, -200}, {1400, -300}}, {{{1200, -200}, {1233, -200}}}},
      {"one point", {{200, -200}}, {}},
      {"nothing", {}, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClipPolyline(c.line.data(), c.line.size(), kBox), c.parts) << c.what;
  }
}

TEST(ClipPolyline, EveryPointOfALoudLineInsideTheFrame) {
  Points line;
  for (int x = 0; x < 1400; x += 3) line.push_back({x, x % 2 == 0 ? 1000000 : -1000000});
  for (const Points& part : ClipPolyline(line.data(), line.size(), kBox)) {
    EXPECT_GE(part.size(), 2u);
    for (const PagePoint& p : part) EXPECT_TRUE(kBox.Contains(p)) << p.x << ", " << p.y;
  }
}

TEST(ClipRect, TrimmedToTheFrameInTheOrderOfItsCorners) {
  struct Case {
    PageRect rect;
    std::optional<PageRect> clipped;
  } cases[] = {
      {{{200, -160}, {300, -600}}, PageRect{{200, -160}, {300, -566}}},  // below the bottom
      {{{300, -600}, {200, -160}}, PageRect{{300, -566}, {200, -160}}},
      {{{100, -100}, {1300, -700}}, PageRect{{150, -150}, {1233, -566}}},
      {{{200, -600}, {300, -700}}, std::nullopt},
      {{{200, -200}, {300, -300}}, PageRect{{200, -200}, {300, -300}}},
  };
  for (const Case& c : cases) EXPECT_EQ(ClipRect(c.rect, kBox), c.clipped);
}

}  // namespace
}  // namespace zentrova
