// The image surface: page units to pixels, y up, colours as asked, PNG out.

#include "display/cairo_surface.h"

#include <gtest/gtest.h>

#include "platform/linux_file_system.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

uint32_t Packed(Rgb c) { return RgbImage::Pack(c); }

// Width and height from a PNG file's header chunk.
std::pair<int, int> PngSize(const std::string& png) {
  if (png.size() < 24 || png.compare(0, 8, std::string("\x89PNG\r\n\x1a\n", 8)) != 0) return {-1, -1};
  auto be = [&](size_t at) {
    return (static_cast<unsigned char>(png[at]) << 24) | (static_cast<unsigned char>(png[at + 1]) << 16) |
           (static_cast<unsigned char>(png[at + 2]) << 8) | static_cast<unsigned char>(png[at + 3]);
  };
  return {static_cast<int>(be(16)), static_cast<int>(be(20))};
}

TEST(CairoSurface, TheEventImageAreaFillsTheImage) {
  CairoSurface s(666, 333);
  EXPECT_EQ(s.AreaSize(), (PageSize{1332, 666}));
  CairoSurface fine(100, 50, 1.0);
  EXPECT_EQ(fine.AreaSize(), (PageSize{100, 50}));
}

TEST(CairoSurface, YGrowsUpwardAndPensKeepTheirColour) {
  CairoSurface s(200, 100);  // 400 x 200 page units
  EXPECT_EQ(s.PixelAt(10, 10), kWhite);
  // A horizontal line 100 units below the top: pixel row 50.
  s.Line({0, -100}, {400, -100}, Pen{kRed, 0});
  EXPECT_EQ(s.PixelAt(100, 50), Packed(kRed));
  EXPECT_EQ(s.PixelAt(100, 48), kWhite);
  EXPECT_EQ(s.PixelAt(100, 52), kWhite);
  // Width 10 units is 5 pixels.
  s.Line({100, 0}, {100, -200}, Pen{kBlue, 10});
  EXPECT_EQ(s.PixelAt(50, 20), Packed(kBlue));
  EXPECT_EQ(s.PixelAt(52, 20), Packed(kBlue));
  EXPECT_EQ(s.PixelAt(56, 20), kWhite);
}

TEST(CairoSurface, FilledShapes) {
  CairoSurface s(200, 100);
  s.FillRect({{0, 0}, {100, -50}}, Rgb{10, 20, 30});
  EXPECT_EQ(s.PixelAt(10, 10), Packed(Rgb{10, 20, 30}));
  EXPECT_EQ(s.PixelAt(60, 10), kWhite);
  s.Ellipse({{200, -100}, {240, -140}}, Pen{kRed, 2}, kRed);
  EXPECT_EQ(s.PixelAt(110, 60), Packed(kRed));   // the centre
  EXPECT_EQ(s.PixelAt(101, 51), kWhite);         // the box's corner lies outside the disc
  s.Rectangle({{300, -100}, {360, -160}}, Pen{kBlack, 2}, kBlue);
  EXPECT_EQ(s.PixelAt(165, 65), Packed(kBlue));
  EXPECT_EQ(s.PixelAt(150, 65), Packed(kBlack));  // the outline
}

TEST(CairoSurface, ImagesAreStretchedWithoutSmoothing) {
  CairoSurface s(100, 100, 1.0);
  RgbImage img;
  img.width = 2;
  img.height = 1;
  img.pixels = {Packed(kRed), Packed(kBlue)};
  s.Image(img, {{0, 0}, {100, -100}});
  EXPECT_EQ(s.PixelAt(10, 50), Packed(kRed));
  EXPECT_EQ(s.PixelAt(49, 50), Packed(kRed));
  EXPECT_EQ(s.PixelAt(50, 50), Packed(kBlue));
  EXPECT_EQ(s.PixelAt(99, 99), Packed(kBlue));
}

// Dark pixels inside [x0, x1) x [y0, y1).
int DarkPixels(CairoSurface& s, int x0, int y0, int x1, int y1) {
  int n = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      if ((s.PixelAt(x, y) & 0xFF) < 128) ++n;
    }
  }
  return n;
}

TEST(CairoSurface, TextHangsBelowAndRightOfItsPointAndTurnsWithItsEscapement) {
  CairoSurface s(400, 400, 1.0);
  Font f;
  f.height = 40;
  s.Text({100, -100}, "HHHH", f);
  EXPECT_GT(DarkPixels(s, 100, 100, 200, 140), 100);
  EXPECT_EQ(DarkPixels(s, 0, 0, 400, 98), 0);
  EXPECT_EQ(DarkPixels(s, 0, 0, 98, 400), 0);
  // A quarter turn: the text reads upward from the point, its body to the right.
  CairoSurface t(400, 400, 1.0);
  f.escapement = 900;
  t.Text({100, -300}, "HHHH", f);
  EXPECT_GT(DarkPixels(t, 100, 200, 140, 300), 100);
  EXPECT_EQ(DarkPixels(t, 0, 302, 400, 400), 0);
  EXPECT_EQ(DarkPixels(t, 0, 0, 98, 400), 0);
}

// A name in another encoding is drawn, its odd bytes as U+FFFD, and the
// drawing goes on after it: the next text and the picture's image too.
TEST(CairoSurface, TextThatIsNotUtf8IsDrawnAndTheDrawingGoesOn) {
  CairoSurface s(400, 200, 1.0);
  Font f;
  f.height = 40;
  s.Text({10, -10}, "lat\xe9in1.dat", f);
  s.Text({10, -100}, "HHHH", f);
  RgbImage red{2, 2, std::vector<uint32_t>(4, Packed(kRed))};
  s.Image(red, {{300, -100}, {340, -140}});
  EXPECT_EQ(s.DrawingError(), "");
  EXPECT_GT(DarkPixels(s, 10, 10, 300, 50), 100);
  EXPECT_GT(DarkPixels(s, 10, 100, 200, 140), 100);
  EXPECT_EQ(s.PixelAt(320, 120), Packed(kRed));
  EXPECT_TRUE(s.EncodePng().ok);
}

TEST(CairoSurface, ArialOrItsStandInOfTheSameMetrics) {
  const std::string face = CairoSurface::ResolvedFace("Arial");
  EXPECT_TRUE(face == "Arial" || face == "Liberation Sans") << face;
}

TEST(CairoSurface, PngOfTheImageSizeWrittenInPlace) {
  testing::TempFolder dir;
  LinuxFileSystem fs;
  CairoSurface s(666, 333);
  s.Line({0, 0}, {1000, -600}, Pen{kRed, 2});
  const PngResult encoded = s.EncodePng();
  ASSERT_TRUE(encoded.ok) << encoded.error;
  EXPECT_EQ(PngSize(encoded.bytes), std::make_pair(666, 333));
  dir.Write("picture.png", "old picture");
  const PngResult written = s.WritePng(fs, dir.Path("picture.png"));
  ASSERT_TRUE(written.ok) << written.error;
  EXPECT_EQ(dir.Read("picture.png"), encoded.bytes);
  EXPECT_FALSE(fs.Exists(dir.Path("picture.png.part")));
  const PngResult failed = s.WritePng(fs, dir.Path("no/such/folder/picture.png"));
  EXPECT_FALSE(failed.ok);
  EXPECT_NE(failed.error.find("no/such/folder"), std::string::npos) << failed.error;
}

TEST(CairoSurface, AHostileSizeMakesNoImageAndNoCrash) {
  CairoSurface s(-5, 1000000000);
  EXPECT_FALSE(s.ok());
  s.Line({0, 0}, {10, -10}, kDefaultPen);
  s.Text({0, 0}, "x", std::nullopt);
  EXPECT_FALSE(s.EncodePng().ok);
}

}  // namespace
}  // namespace zentrova
