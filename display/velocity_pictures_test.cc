// The surface-wave pictures rendered: pixels where the colours are fixed.

#include <gtest/gtest.h>

#include "display/cairo_surface.h"
#include "display/phase_velocity_drawing.h"
#include "display/profile_drawing.h"
#include "display/colour_scale.h"
#include "platform/memory_file_system.h"
#include "surfacewave/surface_wave_input.h"

namespace zentrova {
namespace {

// 2000 x 1500 page units at 0.5 pixel a unit.
constexpr int kWidth = 1000;
constexpr int kHeight = 750;

uint32_t Pack(Rgb c) { return RgbImage::Pack(c); }

TEST(VelocityPictures, DispersionColoursAndRedPicksOnTheImage) {
  SeismicRecord record;
  record.strFileName = "1234.sg2";
  record.nTraces = 24;
  record.nDispRows = 2;
  record.pDispHeader.assign(2, CHeader());
  record.pDispHeader[0].nSamples = 2;
  record.ppDispImage = {{0.05f, 0.5f}, {3.0f, 0.0f}};
  record.fDispRowMax = {0.5f, 3.0f};
  record.fPickVel = {375.0f, 125.0f};
  record.fPickFreq = {12.5f, 37.5f};
  CairoSurface surface(kWidth, kHeight);
  ASSERT_TRUE(surface.ok());
  PlotAxes axes = PhaseVelocityAxes();
  DrawPhaseVelocity(surface, axes, record, DispersionSettings(), CDrawingParameter());
  // The frame spans pixels 75 .. 950 across and 75 .. 700 down; each of the
  // 2 x 2 image pixels covers a quarter. Grid lines every 175 px across
  // (100 m/s) and 62.5 px down (5 Hz) are avoided.
  struct Case {
    int x, y;
    Rgb colour;
  };
  for (const Case c : {Case{210, 160, {255, 0, 100}},  // a tenth of the peak: the fourth colour
                       Case{700, 160, {0, 0, 255}},     // the row's peak
                       Case{210, 520, {0, 0, 255}},     // 3 of 3
                       Case{700, 520, {255, 0, 255}},   // 0
                       Case{731, 231, kRed},            // 375 m/s, 12.5 Hz: a pick's centre
                       Case{293, 543, kRed},
                       Case{40, 40, kWindowBackground}}) {
    SCOPED_TRACE(::testing::Message() << c.x << "," << c.y);
    EXPECT_EQ(surface.PixelAt(c.x, c.y), Pack(c.colour));
  }
}

TEST(VelocityPictures, ProfileCellsInTheirColours) {
  ProfileList list;
  list.SetModelRange(DispersionSettings());
  SurfaceWaveResult model;
  model.nLayers = 2;
  model.fLayerBottom[0] = 7.5f;
  model.fLayerBottom[1] = kHalfSpaceBottom;
  model.fVs[0] = 250.0f;
  model.fVs[1] = 600.0f;
  for (int i = 0; i < 3; ++i) list.AppendResult(model);
  CairoSurface surface(kWidth, kHeight);
  PlotAxes axes = ProfileAxes(2);
  MemoryFileSystem fs;
  DrawProfile(surface, axes, list, 2, CDrawingParameter(), fs);
  // Shot columns 43.75 px wide from 75; 0 .. 7.5 m and 7.5 .. 15 m halves of 75 .. 700.
  for (int shot = 0; shot < 3; ++shot) {
    SCOPED_TRACE(shot);
    const int x = 75 + static_cast<int>(43.75 * shot + 30);
    EXPECT_EQ(surface.PixelAt(x, 250), Pack({0, 255, 0}));
    EXPECT_EQ(surface.PixelAt(x, 600), Pack({160, 0, 255}));
  }
  EXPECT_EQ(surface.PixelAt(75 + static_cast<int>(43.75 * 4 + 20), 250), Pack(kWindowBackground));  // no fourth shot
}

TEST(VelocityPictures, ADeadTraceShowsNoDataInThePngAndTheOthersTheirColours) {
  // Four receivers 10 m apart from 5 m; the one at 25 m is dead.
  SeismicRecord record;
  record.AllocateTraces(4);
  record.nTraces = 4;
  const float peaks[4] = {1.0f, 5.0f, 0.0f, 1000.0f};
  for (int i = 0; i < 4; ++i) {
    record.pHeader[i].nReceiverLoc = 500 + 1000 * i;
    record.pHeader[i].fMaxAmplitude = peaks[i];
  }
  SurfaceWaveResult shot;
  PrepareSurfaceWaveInput(record, shot);
  ProfileList list;
  list.AppendResult(shot);
  list.AppendResult(shot);
  CairoSurface surface(kWidth, kHeight);
  PlotAxes axes = ProfileAxes(0);
  MemoryFileSystem fs;
  DrawProfile(surface, axes, list, 0, CDrawingParameter(), fs);
  const PngResult png = surface.EncodePng();
  ASSERT_TRUE(png.ok) << png.error;
  const auto image = CairoSurface::DecodePng(png.bytes);
  ASSERT_TRUE(image.has_value());
  const auto pixel = [&](int x, int y) { return image->pixels[static_cast<size_t>(y * image->width + x)]; };
  // 5 .. 35 m over 75 .. 700 px down: the receivers' cells centred 15.6 px
  // below the top edge of their rows, every 208.3 px; log amplitudes 0,
  // 0.7 and 3 spread over 0 .. 3 (twelve colours of the spectrum per unit).
  const Rgb expected[4] = {{255, 0, 255}, {255, 105, 0}, kNoDataColour, {0, 0, 255}};
  for (int shotIndex = 0; shotIndex < 2; ++shotIndex) {
    for (int i = 0; i < 4; ++i) {
      SCOPED_TRACE(::testing::Message() << shotIndex << " " << i);
      const int x = 75 + static_cast<int>(43.75 * shotIndex + 20);
      // The first and the last cell end at the frame (half a cell each).
      const int y = 75 + static_cast<int>(208.33 * i + (i == 0 ? 20 : i == 3 ? -40 : 40));
      EXPECT_EQ(pixel(x, y), Pack(expected[i]));
    }
  }
}

// The key of every colour picture: right of the frame (950 px) the bar's
// top pixel has the scale's highest colour and its bottom pixel the
// lowest, and the values at its ends are written beside it.
TEST(VelocityPictures, EveryColourPictureHasItsBarWithTheExtremeColoursAtItsEnds) {
  struct Case {
    const char* what;
    int mode;  // -1: the phase-velocity picture
    Rgb top, bottom;
  } cases[] = {
      {"phase velocity", -1, {0, 0, 255}, {255, 0, 255}},
      {"max. amplitude", 0, {0, 0, 255}, {255, 0, 255}},
      {"phase velocity profile", 1, {160, 0, 255}, {255, 0, 255}},
      {"S-wave profile", 2, {160, 0, 255}, {255, 0, 255}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CairoSurface surface(kWidth, kHeight);
    SeismicRecord record;
    record.strFileName = "1234.sg2";
    record.nTraces = 24;
    if (c.mode < 0) {
      PlotAxes axes = PhaseVelocityAxes();
      DrawPhaseVelocity(surface, axes, record, DispersionSettings(), CDrawingParameter());
    } else {
      ProfileList list;
      list.SetModelRange(DispersionSettings());
      SurfaceWaveResult shot;
      shot.nAmpTraces = 2;
      shot.fPosition[0] = 0.0f;
      shot.fPosition[1] = 2.0f;
      shot.fLogAmplitude[0] = 1.0f;
      shot.fLogAmplitude[1] = 2.0f;
      shot.fPosMin = 0.0f;
      shot.fPosMax = 2.0f;
      shot.fLogAmpMin = 1.0f;
      shot.fLogAmpMax = 2.0f;
      list.AppendResult(shot);
      PlotAxes axes = ProfileAxes(c.mode);
      MemoryFileSystem fs;
      DrawProfile(surface, axes, list, c.mode, CDrawingParameter(), fs);
    }
    // The bar spans 956 .. 968 px across and 75 .. 700 px down.
    const int x = 962;
    EXPECT_EQ(surface.PixelAt(x, 77), Pack(c.top));
    EXPECT_EQ(surface.PixelAt(x, 698), Pack(c.bottom));
    // Its labels right of it: something drawn there at both ends.
    const auto inked = [&](int y0, int y1) {
      int n = 0;
      for (int y = y0; y <= y1; ++y) {
        for (int xx = 972; xx < kWidth; ++xx) n += surface.PixelAt(xx, y) != 0xFFFFFF;
      }
      return n;
    };
    // (The velocity bar's top value, 500 m/s, is a cell below its top.)
    EXPECT_GT(c.mode < 1 ? inked(68, 84) : inked(88, 112), 10);
    // The velocity bar names its thresholds from 40 m/s up, a cell above its bottom.
    EXPECT_GT(inked(c.mode < 1 ? 690 : 660, 710), 10);
  }
}

}  // namespace
}  // namespace zentrova
