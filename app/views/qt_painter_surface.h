#pragma once
// The plots' drawing surface on a Qt painter: page units of 0.1 mm mapped
// to device pixels by the painter's resolution (dots per inch / 254 pixels
// a unit), y upward with the origin at the top-left corner of the area.
// Pens are solid (width 0: one device pixel); texts are placed by the
// upper-left corner of the text in its reading direction, rotated by the
// font's escapement; images are stretched without smoothing.

#include <QFont>
#include <QPainter>

#include "display/drawing_surface.h"

namespace zentrova {

class QtPainterSurface : public DrawingSurface {
 public:
  // `painter` draws on a device of `dpi` dots per inch whose drawing area
  // is `pixelWidth` x `pixelHeight` pixels from the painter's origin.
  QtPainterSurface(QPainter& painter, double dpi, int pixelWidth, int pixelHeight);

  PageSize AreaSize() const override;
  void Line(PagePoint from, PagePoint to, const Pen& pen) override;
  void Polyline(const PagePoint* points, size_t count, const Pen& pen) override;
  void Text(PagePoint at, const std::string& text, const std::optional<Font>& font) override;
  void Ellipse(const PageRect& box, const Pen& outline, Rgb fill) override;
  void Rectangle(const PageRect& box, const Pen& outline, Rgb fill) override;
  void FillRect(const PageRect& box, Rgb fill) override;
  void Image(const RgbImage& image, const PageRect& box) override;

  // Device pixels of one page unit.
  double PixelsPerUnit() const { return scale_; }
  QPointF ToDevice(PagePoint p) const;
  QRectF ToDevice(const PageRect& r) const;
  // The Qt font for a plot font: the face (with the fonts' fallbacks) and
  // a character cell `height` page units high.
  QFont ToQFont(const Font& font) const;

 private:
  QPen ToQPen(const Pen& pen) const;

  QPainter& painter_;
  double scale_;
  int pixelWidth_;
  int pixelHeight_;
};

// Page units of a length in device pixels, and back.
int PixelsToPageUnits(int pixels, double dpi);
double PageUnitsToPixels(int units, double dpi);

// A window's own font when a plot selects none: 16 device pixels, as the
// system font of a window.
inline constexpr int kSurfaceFontPixels = 16;

}  // namespace zentrova
