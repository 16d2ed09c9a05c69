#include "display/phase_velocity_drawing.h"

#include <gtest/gtest.h>

#include "display/colour_bar.h"
#include "display/recording_surface.h"
#include "monitor/station_fixture.h"

namespace zentrova {
namespace {

using Kind = RecordingSurface::Kind;

// 2000 x 1500 page units: the plot area is 1750 x 1250, so 3.5 units per
// m/s over 0 .. 500 m/s and 25 units per Hz over 0 .. 50 Hz.
constexpr PageSize kArea{2000, 1500};

// A working set of three rows of four velocity columns as the analysis
// leaves it (the rows hold more room than the columns in use); row 1 has
// no value at all and is one column short.
void FillWorkingSet(SeismicRecord& record) {
  record.strFileName = "1234.sg2";
  record.nTraces = 24;
  record.nDispRows = 3;
  record.pDispHeader.assign(3, CHeader());
  record.pDispHeader[0].nSamples = 4;
  record.ppDispImage = {{0.3f, 1.0f, 0.6f, 0.0f, 9.0f}, {0.0f, 0.0f, 0.0f}, {1.2f, 4.0f, 0.4f, 2.8f, 9.0f}};
  record.fDispRowMax = {1.0f, 0.0f, 4.0f};
  record.fPickVel = {100.0f, 0.0f, 250.0f};
  record.fPickFreq = {10.0f, 20.0f, 30.0f};
  record.bPickResolved = {1, 0, 0};
}

Rgb Pixel(const RgbImage& image, int x, int y) {
  const uint32_t p = image.pixels[static_cast<size_t>(y) * image.width + x];
  return Rgb{static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p)};
}

TEST(PhaseVelocityDrawing, EachValueByItsRowsPeakWithRowZeroOnTop) {
  SeismicRecord record;
  FillWorkingSet(record);
  ColourScale scale = SpectrumScale();
  scale.SpreadThresholds(0.0f, 1.0f);
  const RgbImage image = DispersionPicture(record, scale);
  ASSERT_EQ(image.width, 4);
  ASSERT_EQ(image.height, 3);
  struct Case {
    int x, y;
    Rgb colour;
  };
  for (const Case c : {Case{0, 0, {255, 165, 0}},   // 0.3: the 11th colour
                       Case{1, 0, {0, 0, 255}},     // the peak
                       Case{2, 0, {100, 255, 0}},   // 0.6: the 22nd
                       Case{3, 0, {255, 0, 255}},   // 0
                       Case{0, 1, {255, 0, 255}},   // a row whose peak is 0: the first colour
                       Case{2, 1, {255, 0, 255}},
                       Case{3, 1, kWindowBackground},  // beyond the row's values
                       Case{0, 2, {255, 165, 0}},   // 1.2 / 4
                       Case{1, 2, {0, 0, 255}},
                       Case{2, 2, {255, 0, 100}},   // 0.1
                       Case{3, 2, {0, 255, 0}}}) {  // 0.7: the 26th
    SCOPED_TRACE(::testing::Message() << c.x << "," << c.y);
    EXPECT_EQ(Pixel(image, c.x, c.y), c.colour);
  }
}

TEST(PhaseVelocityDrawing, CaptionImageFrameAndPicksInThatOrder) {
  SeismicRecord record;
  FillWorkingSet(record);
  DispersionSettings settings;
  CDrawingParameter dp;
  RecordingSurface surface(kArea);
  PlotAxes axes = PhaseVelocityAxes();
  DrawPhaseVelocity(surface, axes, record, settings, dp);

  ASSERT_FALSE(surface.drawn.empty());
  const auto& caption = surface.drawn.front();
  EXPECT_EQ(caption.kind, Kind::kText);
  EXPECT_EQ(caption.text, "1234.sg2 (Number of traces = 24)");
  EXPECT_EQ(caption.points[0], (PagePoint{10, -10}));
  ASSERT_TRUE(caption.font.has_value());
  EXPECT_EQ(caption.font->face, "Arial");
  EXPECT_EQ(caption.font->height, 50);

  EXPECT_EQ(axes.fXStep, 100.0f);
  EXPECT_EQ(axes.fYStep, 5.0f);
  EXPECT_EQ(axes.nXTicks, 6);
  EXPECT_EQ(axes.nYTicks, 11);
  EXPECT_FLOAT_EQ(axes.fXScale, 3.5f);
  EXPECT_FLOAT_EQ(axes.fYScale, 25.0f);

  // The picture fills the frame: from (150, -150) over 1750 x 1250.
  const auto images = surface.Of(Kind::kImage);
  ASSERT_EQ(images.size(), 2u);
  EXPECT_EQ(images[0].box, (PageRect{{150, -150}, {1900, -1400}}));
  EXPECT_EQ(images[0].image.width, 4);
  EXPECT_EQ(images[0].image.height, 3);
  EXPECT_EQ(surface.drawn[1].kind, Kind::kImage);  // under the grid and the frame
  // The colour bar right of the frame, over its height: the row maximum's
  // blue at the top, the least value's magenta at the bottom, 0 and 1 beside.
  const RgbImage& bar = images[1].image;
  EXPECT_EQ(images[1].box, (PageRect{{1900 + kColourBarGap, -150}, {1900 + kColourBarGap + kColourBarWidth, -1400}}));
  ASSERT_EQ(bar.height, 36);
  EXPECT_EQ(bar.pixels.front(), RgbImage::Pack({0, 0, 255}));
  EXPECT_EQ(bar.pixels.back(), RgbImage::Pack({255, 0, 255}));
  std::vector<std::string> barLabels;
  for (const auto& t : surface.Of(Kind::kText)) {
    if (t.points[0].x > 1900) barLabels.push_back(t.text);
  }
  EXPECT_EQ(barLabels, (std::vector<std::string>{"0.0", "1.0", "0.5"}));

  // One disc of 1 mm radius per row with a pick, at its pick, over the
  // frame: red for a resolved pick, hollow (a red ring) for one whose
  // wavelength the spread does not resolve; a row without one (velocity 0)
  // has none.
  const auto discs = surface.Of(Kind::kEllipse);
  ASSERT_EQ(discs.size(), 2u);
  EXPECT_EQ(discs[0].box, (PageRect{{490, -410}, {510, -390}}));   // 100 m/s, 10 Hz
  EXPECT_EQ(discs[1].box, (PageRect{{1015, -910}, {1035, -890}}));  // 250 m/s, 30 Hz
  EXPECT_EQ(discs[0].fill, kRed);
  EXPECT_EQ(discs[0].pen, kDefaultPen);
  EXPECT_EQ(discs[1].fill, kWindowBackground);
  EXPECT_EQ(discs[1].pen.colour, kRed);
  EXPECT_EQ(surface.drawn.back().kind, Kind::kEllipse);
  const auto frameLines = surface.Of(Kind::kLine);
  int framePens = 0;
  for (const auto& l : frameLines) framePens += l.pen.width == 5 ? 1 : 0;
  EXPECT_EQ(framePens, 4);
  // The vertical title 110 units left of the frame.
  bool title = false;
  for (const auto& t : surface.Of(Kind::kText)) {
    if (t.text == "Frequency (Hz)") {
      title = true;
      EXPECT_EQ(t.points[0].x, 40);
    }
  }
  EXPECT_TRUE(title);
}

TEST(PhaseVelocityDrawing, WithoutTracesOnlyTheCaptionAndBeforeTheAnalysisNoPicture) {
  SeismicRecord empty;
  empty.strFileName = "none.sg2";
  DispersionSettings settings;
  CDrawingParameter dp;
  {
    RecordingSurface surface(kArea);
    PlotAxes axes = PhaseVelocityAxes();
    DrawPhaseVelocity(surface, axes, empty, settings, dp);
    ASSERT_EQ(surface.drawn.size(), 1u);
    EXPECT_EQ(surface.drawn[0].text, "none.sg2 (Number of traces = 0)");
  }
  SeismicRecord unanalysed;
  unanalysed.nTraces = 24;
  unanalysed.AllocateAnalysisBuffers();
  RecordingSurface surface(kArea);
  PlotAxes axes = PhaseVelocityAxes();
  DrawPhaseVelocity(surface, axes, unanalysed, settings, dp);
  // Only the colour bar's cells, no picture.
  const auto images = surface.Of(Kind::kImage);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0].image.width, 1);
  EXPECT_TRUE(surface.Of(Kind::kEllipse).empty());
  EXPECT_EQ(surface.Of(Kind::kLine).size(), 6u + 11u + 4u + 4u + 3u);  // grid, frame, the bar and its ticks
}

TEST(PhaseVelocityDrawing, TheViewMarksTheDocumentDrawn) {
  testing::StationFixture st;
  CZentrovaDoc& doc = st.Doc();
  FillWorkingSet(doc.record);
  ASSERT_EQ(doc.bPhaseViewDrawn, 0);
  RecordingSurface surface(kArea);
  PlotAxes axes = PhaseVelocityAxes();
  DrawPhaseVelocityView(surface, axes, doc, DispersionSettings());
  EXPECT_EQ(doc.bPhaseViewDrawn, 1);
  EXPECT_EQ(surface.Of(Kind::kEllipse).size(), 2u);
}

}  // namespace
}  // namespace zentrova
