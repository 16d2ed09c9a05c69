#include "app/views/qt_painter_surface.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "display/page_units.h"

namespace zentrova {
namespace {

// At 254 dots per inch a page unit is one pixel: page (x, y) is pixel (x, -y).
constexpr double kDpi = 254.0;

struct Canvas {
  QImage image{400, 300, QImage::Format_RGB32};
  Canvas() { image.fill(Qt::white); }
  Rgb At(int x, int y) const {
    const QRgb c = image.pixel(x, y);
    return {static_cast<uint8_t>(qRed(c)), static_cast<uint8_t>(qGreen(c)), static_cast<uint8_t>(qBlue(c))};
  }
};

// The box around the dark pixels of a region.
struct Ink {
  int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
  bool any() const { return right >= 0; }
};

Ink InkIn(const QImage& image, int x0, int y0, int x1, int y1) {
  Ink ink;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x)
      if (qGray(image.pixel(x, y)) < 128) {
        ink.left = std::min(ink.left, x);
        ink.right = std::max(ink.right, x);
        ink.top = std::min(ink.top, y);
        ink.bottom = std::max(ink.bottom, y);
      }
  return ink;
}

int DarkInRows(const QImage& image, int x0, int x1, int y0, int y1) {
  int n = 0;
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) n += qGray(image.pixel(x, y)) < 128;
  return n;
}

TEST(QtPainterSurface, AreaSizeIsTheDeviceSizeInTenthsOfAMillimetre) {
  QImage image(378, 189, QImage::Format_RGB32);
  QPainter painter(&image);
  QtPainterSurface surface(painter, 96.0, 378, 189);
  EXPECT_EQ(surface.AreaSize(), (PageSize{1000, 500}));  // 378 px at 96 dpi is 100.01 mm
  EXPECT_EQ(PixelsToPageUnits(96, 96.0), 254);
  EXPECT_NEAR(surface.PixelsPerUnit(), 96.0 / 254.0, 1e-12);
}

TEST(QtPainterSurface, LinesFillsAndEllipsesLandWhereThePageSays) {
  Canvas c;
  {
    QPainter painter(&c.image);
    QtPainterSurface surface(painter, kDpi, 400, 300);
    surface.Line({10, -100}, {200, -100}, Pen{kRed, 0});
    surface.FillRect({{10, -10}, {50, -60}}, kBlue);
    surface.Ellipse({{100, -150}, {140, -190}}, kDefaultPen, kRed);
    surface.Rectangle({{300, -20}, {360, -80}}, Pen{kBlack, 5}, Rgb{0, 150, 100});
    const PagePoint zigzag[] = {{220, -200}, {260, -240}, {300, -200}};
    surface.Polyline(zigzag, 3, Pen{Rgb{0, 0, 255}, 1});
  }
  EXPECT_EQ(c.At(100, 100), kRed);  // y up: page y -100 is 100 pixels down
  EXPECT_EQ(c.At(100, 97), kWindowBackground);
  EXPECT_EQ(c.At(30, 30), kBlue);
  EXPECT_EQ(c.At(60, 30), kWindowBackground);
  EXPECT_EQ(c.At(120, 170), kRed);           // inside the disc
  EXPECT_EQ(c.At(101, 151), kWindowBackground);  // outside the disc, inside its box
  EXPECT_EQ(c.At(100, 170), kBlack);         // the outline on the box's left edge
  EXPECT_EQ(c.At(330, 50), (Rgb{0, 150, 100}));
  EXPECT_EQ(c.At(300, 50), kBlack);  // 5 units wide outline
  EXPECT_EQ(c.At(302, 50), kBlack);
  EXPECT_EQ(c.At(260, 240), kBlue);
  EXPECT_EQ(c.At(260, 200), kWindowBackground);
}

TEST(QtPainterSurface, ImagesAreStretchedWithoutSmoothingFirstRowAtTheFirstCorner) {
  RgbImage image;
  image.width = 2;
  image.height = 2;
  image.pixels = {RgbImage::Pack(kRed), RgbImage::Pack(Rgb{0, 255, 0}), RgbImage::Pack(kBlue),
                  RgbImage::Pack(kBlack)};
  Canvas c;
  {
    QPainter painter(&c.image);
    QtPainterSurface surface(painter, kDpi, 400, 300);
    surface.Image(image, {{20, -20}, {100, -100}});    // first row at the top
    surface.Image(image, {{200, -180}, {280, -100}});  // first row at the bottom
  }
  EXPECT_EQ(c.At(21, 21), kRed);
  EXPECT_EQ(c.At(58, 58), kRed);  // no blend at the middle of a stretched pixel's edge
  EXPECT_EQ(c.At(62, 21), (Rgb{0, 255, 0}));
  EXPECT_EQ(c.At(21, 62), kBlue);
  EXPECT_EQ(c.At(98, 98), kBlack);
  EXPECT_EQ(c.At(205, 175), kRed);
  EXPECT_EQ(c.At(205, 105), kBlue);
}

TEST(QtPainterSurface, TextHangsBelowAndRightOfItsPointAndReadsUpright) {
  Canvas c;
  Font font;
  font.height = 100;
  {
    QPainter painter(&c.image);
    QtPainterSurface surface(painter, kDpi, 400, 300);
    surface.Text({50, -50}, "T", font);
  }
  const Ink ink = InkIn(c.image, 0, 0, 200, 300);
  ASSERT_TRUE(ink.any());
  EXPECT_GE(ink.top, 50);
  EXPECT_LT(ink.bottom, 150);  // inside the 100-unit cell
  EXPECT_GE(ink.left, 50);
  EXPECT_LT(ink.right, 150);
  // A T has its bar on top: more ink in its top rows than in its bottom rows.
  const int h = ink.bottom - ink.top + 1;
  EXPECT_GT(DarkInRows(c.image, ink.left, ink.right, ink.top, ink.top + h / 5),
            2 * DarkInRows(c.image, ink.left, ink.right, ink.bottom - h / 5, ink.bottom));
}

TEST(QtPainterSurface, AQuarterTurnReadsFromBottomToTop) {
  Canvas c;
  Font font;
  font.height = 100;
  font.escapement = 900;
  {
    QPainter painter(&c.image);
    QtPainterSurface surface(painter, kDpi, 400, 300);
    surface.Text({200, -250}, "T", font);
  }
  const Ink ink = InkIn(c.image, 0, 0, 400, 300);
  ASSERT_TRUE(ink.any());
  // The reading direction is up the page, the text's top faces left.
  EXPECT_GE(ink.left, 200);
  EXPECT_LT(ink.right, 300);
  EXPECT_LE(ink.bottom, 250);
  EXPECT_GT(ink.top, 150);
  const int w = ink.right - ink.left + 1;
  int leftInk = 0, rightInk = 0;
  for (int x = ink.left; x <= ink.left + w / 5; ++x) leftInk += DarkInRows(c.image, x, x, ink.top, ink.bottom);
  for (int x = ink.right - w / 5; x <= ink.right; ++x) rightInk += DarkInRows(c.image, x, x, ink.top, ink.bottom);
  EXPECT_GT(leftInk, 2 * rightInk);
}

TEST(QtPainterSurface, TheSurfacesOwnFontIsUsedWhenNoneIsGiven) {
  Canvas c;
  {
    QPainter painter(&c.image);
    QtPainterSurface surface(painter, kDpi, 400, 300);
    surface.Text({10, -10}, "Number of shots = 3", std::nullopt);
  }
  const Ink ink = InkIn(c.image, 0, 0, 400, 300);
  ASSERT_TRUE(ink.any());
  EXPECT_GE(ink.top, 10);
  EXPECT_LE(ink.bottom, 10 + kSurfaceFontPixels);
}

// A huge sample or a zero range gives coordinates at the page's limit; the
// painter clips them like any other.
TEST(QtPainterSurface, CoordinatesAtThePageLimitAreClipped) {
  Canvas c;
  const int far = static_cast<int>(kPageLimit);
  {
    QPainter painter(&c.image);
    QtPainterSurface surface(painter, kDpi, 400, 300);
    surface.Line({10, -20}, {far, -20}, Pen{kRed, 5});
    const PagePoint wild[] = {{20, -200}, {far, -far}, {-far, far}, {30, -250}};
    surface.Polyline(wild, 4, Pen{kBlue, 2});
    surface.Polyline(wild, 4, Pen{kBlue, 20});
    surface.Ellipse({{-far, far}, {far, -far}}, Pen{kBlack, 5}, kRed);
    surface.Image(RgbImage{1, 1, {RgbImage::Pack(kBlue)}}, {{0, 0}, {far, -far}});
    surface.Text({far, -far}, "x", Font{"Arial", far, 900});
  }
  EXPECT_EQ(c.At(5, 5), kBlue);  // the image covers the area
}

}  // namespace
}  // namespace zentrova
