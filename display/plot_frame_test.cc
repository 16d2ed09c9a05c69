// The frame every plot shares: tick steps, tick counts, label indents and
// formats, the thinning of crowded labels, titles and frame, as drawn.

#include "display/plot_frame.h"

#include <limits>

#include <gtest/gtest.h>

#include "display/plot_area.h"
#include "display/recording_surface.h"
#include "display/ticks.h"

namespace zentrova {
namespace {

using Kind = RecordingSurface::Kind;

struct StepCase {
  float max;
  float scale;
  float step;
};

TEST(ChooseTickSteps, ByTheMaximumThenOnceCoarserWhereTicksStandCloserThanTenMillimetres) {
  const StepCase cases[] = {
      {100.0f, 1000.0f, 1.0f},   {100.5f, 1000.0f, 10.0f}, {10.0f, 1000.0f, 0.1f},    {10.5f, 1000.0f, 1.0f},
      {1000.0f, 1000.0f, 10.0f}, {1000.5f, 1.0f, 100.0f},  {10001.0f, 1.0f, 1000.0f}, {100001.0f, 1.0f, 10000.0f},
      {-5.0f, 1000.0f, 0.1f},    {500.0f, 5.0f, 100.0f},   {500.0f, 10.0f, 10.0f},  // 10 x 10 = 100: not closer
      {500.0f, 0.5f, 100.0f},  // once only: 10 x 0.5 and 100 x 0.5 are both under 100
      {100.0f, 50.0f, 10.0f},
  };
  for (const StepCase& c : cases) {
    PlotAxes x;
    x.fXMax = c.max;
    x.fXScale = c.scale;
    x.fYMax = 1.0e6f;  // the other axis has no say
    x.fYScale = 1.0f;
    ChooseTickSteps(x);
    EXPECT_FLOAT_EQ(x.fXStep, c.step) << "max " << c.max << " scale " << c.scale;
    EXPECT_FLOAT_EQ(x.fYStep, 10000.0f);
    PlotAxes y;
    y.fYMax = c.max;
    y.fYScale = c.scale;
    ChooseTickSteps(y);
    EXPECT_FLOAT_EQ(y.fYStep, c.step) << "max " << c.max << " scale " << c.scale;
  }
}

struct TickCase {
  float min, max, step;
  int ticks;
};

TEST(UpdateTicks, CountsOverTheRangeFromItsFirstValue) {
  const TickCase cases[] = {
      {0.0f, 100.0f, 10.0f, 11}, {3.7f, 50.0f, 10.0f, 5},  {0.0f, 5.0f, 0.0f, 0},
      {0.0f, 5.0f, -1.0f, 0},    {-0.5f, 23.5f, 1.0f, 25}, {0.0f, 1.0e9f, 1.0e-3f, kMaxTicks},
  };
  for (const TickCase& c : cases) {
    PlotAxes a;
    a.fXMin = a.fYMin = c.min;
    a.fXMax = a.fYMax = c.max;
    a.fXStep = a.fYStep = c.step;
    UpdateTicks(a);
    EXPECT_EQ(a.nXTicks, c.ticks) << c.min << ".." << c.max << " by " << c.step;
    EXPECT_EQ(a.nYTicks, c.ticks);
    EXPECT_FLOAT_EQ(a.fXFirst, c.min);
    EXPECT_FLOAT_EQ(a.fYFirst, c.min);
  }
}

TEST(ReadableStep, OneTwoOrFiveTimesAPowerOfTenAtLeastTheSpacingApart) {
  struct Case {
    float scale;    // page units per axis unit
    float spacing;  // page units
    float step;
  } cases[] = {
      {0.722f, 120, 200},  // 1500 ms over 1083 units
      {1.083f, 120, 200},  // 1000 ms
      {12.0f, 120, 10},    // exactly ten apart
      {12.1f, 120, 10},
      {11.9f, 120, 20},
      {17.3f, 42, 5},      // 24 traces in 416 units
      {104.0f, 42, 0.5f},  // 4 traces: finer than one
      {0.001f, 120, 200000},
      {0.0f, 120, 0},
      {-1.0f, 120, 0},
      {std::numeric_limits<float>::infinity(), 120, 0},
  };
  for (const Case& c : cases) EXPECT_FLOAT_EQ(ReadableStep(c.scale, c.spacing), c.step) << c.scale;
}

TEST(AlignXTicks, TheFirstTickOnAMultipleOfTheStep) {
  struct Case {
    float min, max, step;
    float first;
    int ticks;
  } cases[] = {
      {-500, 1000, 200, -400, 8}, {-500, 1000, 100, -500, 16}, {-10, 990, 200, 0, 5},
      {0.2f, 90.2f, 10, 10, 9},   {3.7f, 3.8f, 1, 3.7f, 0},     // no multiple inside: no tick
  };
  for (const Case& c : cases) {
    PlotAxes a;
    a.fXMin = c.min;
    a.fXMax = c.max;
    a.fXStep = c.step;
    UpdateTicks(a);
    AlignXTicks(a);
    if (c.ticks > 0) {
      EXPECT_FLOAT_EQ(a.fXFirst, c.first) << c.min << " step " << c.step;
    }
    EXPECT_EQ(a.nXTicks, c.ticks) << c.min << " step " << c.step;
  }
}

TEST(LabelIndent, ByTheSizeOfTheStep) {
  const std::pair<float, int> cases[] = {
      {100000.0f, 175}, {10000.0f, 150},   {1000.0f, 125},    {100.0f, 100}, {10.0f, 75},    {1.0f, 50},
      {0.5f, 75},       {0.09f, 75},       {0.05f, 100},      {0.01f, 100}, {0.001f, 125}, {0.00009f, 150},
      {0.000009f, 175}, {0.000001f, 200}, {0.0000001f, 100}, {0.0f, 100},   {-10.0f, 75},   {-0.5f, 75},
  };
  for (const auto& [step, indent] : cases) EXPECT_EQ(LabelIndent(step), indent) << step;
}

// A plot of the given ranges fitted to a 1333 x 666 area with the
// document's layout, its ticks counted.
PlotAxes Fitted(float xMin, float xMax, float xStep, float yMin, float yMax, float yStep, int yDown = 0) {
  PlotAxes a;
  a.fXMin = xMin;
  a.fXMax = xMax;
  a.fXStep = xStep;
  a.fYMin = yMin;
  a.fYMax = yMax;
  a.fYStep = yStep;
  a.bYDown = yDown;
  FitPlotArea(a, {1333, 666}, CDrawingParameter{});
  UpdateTicks(a);
  return a;
}

std::vector<RecordingSurface::Primitive> GridLines(const RecordingSurface& s) {
  std::vector<RecordingSurface::Primitive> out;
  for (const auto& p : s.Of(Kind::kLine)) {
    if (p.pen == kGridPen) out.push_back(p);
  }
  return out;
}

std::vector<RecordingSurface::Primitive> FrameLines(const RecordingSurface& s) {
  std::vector<RecordingSurface::Primitive> out;
  for (const auto& p : s.Of(Kind::kLine)) {
    if (p.pen == kFramePen) out.push_back(p);
  }
  return out;
}

TEST(DrawPlotFrame, WithoutPositiveStepsOnlyFrameAndTitles) {
  for (float step : {0.0f, -1.0f}) {
    PlotAxes a = Fitted(0, 100, step, 0, 10, step);
    a.strXTitle = "Time (msec)";
    a.bXTitle = 1;
    a.strYTitle = "Channel";
    a.bYTitle = 1;
    RecordingSurface s({1333, 666});
    DrawPlotFrame(a, s, 150, CDrawingParameter{});
    EXPECT_TRUE(GridLines(s).empty());
    EXPECT_EQ(s.Texts(), (std::vector<std::string>{"Time (msec)", "Channel"}));
    EXPECT_EQ(FrameLines(s).size(), 4u);
  }
}

TEST(DrawPlotFrame, TheFrameAroundThePlotArea) {
  // W = 1333 - 250 = 1083 (3 units a second), H = 666 - 250 = 416 (52 a channel).
  const PlotAxes a = Fitted(0, 361, 10, 0, 8, 1);
  RecordingSurface s({1333, 666});
  DrawPlotFrame(a, s, 150, CDrawingParameter{});
  const auto frame = FrameLines(s);
  ASSERT_EQ(frame.size(), 4u);
  EXPECT_EQ(frame[0].points, (std::vector<PagePoint>{{150, -150}, {1233, -150}}));
  EXPECT_EQ(frame[1].points, (std::vector<PagePoint>{{150, -566}, {1233, -566}}));
  EXPECT_EQ(frame[2].points, (std::vector<PagePoint>{{150, -150}, {150, -566}}));
  EXPECT_EQ(frame[3].points, (std::vector<PagePoint>{{1233, -150}, {1233, -566}}));
  // The frame is drawn last, over the grid.
  EXPECT_EQ(s.drawn.back().pen, kFramePen);
  EXPECT_EQ(GridLines(s).size(), 37u + 9u);
}

TEST(DrawPlotFrame, CrowdedLabelsAreThinnedAgainstTheLastLabelDrawn) {
  // Ticks 80 page units apart, labels of three characters (36 units wide):
  // a label 80 units after a drawn one is skipped, the next, 160 after it, is drawn.
  PlotAxes a;
  a.fXMin = 100;
  a.fXMax = 200;
  a.fXStep = 10;
  a.fXScale = 8;
  a.fYMin = 0;
  a.fYMax = 1;
  a.fYStep = 0;
  a.fYScale = 100;
  UpdateTicks(a);
  ASSERT_EQ(a.nXTicks, 11);
  RecordingSurface s({1333, 666});
  DrawPlotFrame(a, s, 150, CDrawingParameter{});
  EXPECT_EQ(s.Texts(), (std::vector<std::string>{"100", "120", "140", "160", "180", "200"}));
  EXPECT_EQ(GridLines(s).size(), 11u);  // every tick keeps its grid line
  const auto labels = s.Of(Kind::kText);
  // x = 150 + 8 k x 10 less half the estimated width (18); 50 units above the frame.
  EXPECT_EQ(labels[0].points[0], (PagePoint{132, -100}));
  EXPECT_EQ(labels[1].points[0], (PagePoint{292, -100}));
  EXPECT_EQ(labels[0].font, TickLabelFont());
}

TEST(DrawPlotFrame, LabelsAtLeast120UnitsApartAreAllDrawn) {
  PlotAxes a;
  a.fXMin = 100;
  a.fXMax = 140;
  a.fXStep = 10;
  a.fXScale = 12;  // 120 units apart, labels of one width
  a.fYMax = 1;
  a.fYScale = 100;
  UpdateTicks(a);
  RecordingSurface s({1333, 666});
  DrawPlotFrame(a, s, 150, CDrawingParameter{});
  EXPECT_EQ(s.Texts(), (std::vector<std::string>{"100", "110", "120", "130", "140"}));
}

TEST(DrawPlotFrame, HorizontalLabelsAreWholeNumbersVerticalOnesFollowTheStep) {
  struct Case {
    float yStep;
    std::vector<std::string> yLabels;
  };
  const Case cases[] = {
      {0.5f, {"0.0", "0.5", "1.0"}},
      {0.05f, {"0.00", "0.05", "0.10"}},
      {1.0f, {"0", "1"}},
  };
  for (const Case& c : cases) {
    PlotAxes a;
    a.fXMin = 2.5f;
    a.fXMax = 2.5f;  // one tick
    a.fXStep = 1;
    a.fXScale = 1;
    a.fYMin = 0;
    a.fYMax = c.yStep == 0.05f ? 0.1f : 1.0f;
    a.fYStep = c.yStep;
    a.fYScale = 100;
    UpdateTicks(a);
    RecordingSurface s({1333, 666});
    DrawPlotFrame(a, s, 150, CDrawingParameter{});
    std::vector<std::string> expected{"2"};  // 2.5 by "%.0f"
    expected.insert(expected.end(), c.yLabels.begin(), c.yLabels.end());
    EXPECT_EQ(s.Texts(), expected) << c.yStep;
    // Vertical labels stand left of the frame by the step's indent, 25 units above their line.
    const auto labels = s.Of(Kind::kText);
    EXPECT_EQ(labels[1].points[0].x, 150 - LabelIndent(c.yStep));
  }
}

TEST(TickLabel, DecimalsByTheStepOnEitherAxisAndNoNegativeZero) {
  struct Case {
    float step, u;
    const char* label;
  } cases[] = {
      {100, -500, "-500"}, {0.5f, 1.5f, "1.5"}, {0.5f, -0.0f, "0.0"}, {0.05f, -0.001f, "0.00"},
      {1, -0.4f, "0"},     {1, 2.5f, "2"},      {10, 20, "20"},       {0.2f, 0.4f, "0.4"},
  };
  for (const Case& c : cases) EXPECT_EQ(TickLabel(c.step, c.u), c.label) << c.step << " " << c.u;
  // A horizontal axis of half seconds reads 0.0, 0.5, 1.0 and not 0, 0, 1.
  PlotAxes a;
  a.fXMin = 0;
  a.fXMax = 1;
  a.fXStep = 0.5f;
  a.fXScale = 500;
  UpdateTicks(a);
  RecordingSurface s({1333, 666});
  DrawPlotFrame(a, s, 150, CDrawingParameter{});
  EXPECT_EQ(s.Texts(), (std::vector<std::string>{"0.0", "0.5", "1.0"}));
}

TEST(DrawPlotFrame, TheFirstVerticalTickLiesOnTheBottomEdgeOrWithYDownOnTheTop) {
  for (int yDown : {0, 1}) {
    const PlotAxes a = Fitted(0, 361, 0, -0.5f, 23.5f, 1, yDown);
    RecordingSurface s({1333, 666});
    DrawPlotFrame(a, s, 150, CDrawingParameter{});
    const auto grid = GridLines(s);
    ASSERT_EQ(grid.size(), 25u);
    const int edge = yDown == 1 ? -150 : -FrameBottom(a, CDrawingParameter{});
    EXPECT_EQ(grid[0].points, (std::vector<PagePoint>{{150, edge}, {1233, edge}})) << "bYDown " << yDown;
    const auto labels = s.Of(Kind::kText);
    EXPECT_EQ(labels[0].text, "0");  // -0.5 by "%.0f", without the sign of a negative zero
    EXPECT_EQ(labels[0].points[0], (PagePoint{150 - LabelIndent(1), edge + 25}));
  }
}

TEST(DrawPlotFrame, TitlesCentredOnTheirAxes) {
  PlotAxes a = Fitted(0, 361, 0, 0, 8, 0);
  a.strXTitle = "Time (msec)";  // 11 characters: 132 units estimated
  a.bXTitle = 1;
  a.strYTitle = "Depth";  // 5 characters: 60 units
  a.bYTitle = 1;
  RecordingSurface s({1333, 666});
  DrawPlotFrame(a, s, 110, CDrawingParameter{});
  const auto texts = s.Of(Kind::kText);
  ASSERT_EQ(texts.size(), 2u);
  // x = trunc(361 x 3 x 0.5 + 150 - 66), below the frame's bottom edge
  // (566), apart from any caption above it.
  EXPECT_EQ(texts[0].points[0], (PagePoint{625, -(566 + kXTitleGap)}));
  EXPECT_EQ(texts[0].font, XTitleFont());
  EXPECT_EQ(texts[0].font->height, 40);
  // d = trunc(8 x 52 x 0.5 + 150 + 30); a quarter turn, reading upward.
  EXPECT_EQ(texts[1].points[0], (PagePoint{40, -388}));
  EXPECT_EQ(texts[1].font->escapement, 900);
  EXPECT_EQ(texts[1].font->height, 35);
  EXPECT_EQ(texts[1].font->face, "Arial");
}

}  // namespace
}  // namespace zentrova
