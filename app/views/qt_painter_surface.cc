#include "app/views/qt_painter_surface.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <vector>

namespace zentrova {
namespace {

inline constexpr double kUnitsPerInch = 254.0;  // 0.1 mm

QColor ToQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

// The face asked for first, then the metric-compatible free face.
const char* FallbackFace(const std::string& face) {
  if (face == "Arial") return "Liberation Sans";
  if (face == "Times New Roman") return "Liberation Serif";
  if (face == "Courier New") return "Liberation Mono";
  return "Liberation Sans";
}

}  // namespace

int PixelsToPageUnits(int pixels, double dpi) {
  if (dpi <= 0) return 0;
  return static_cast<int>(pixels * kUnitsPerInch / dpi);
}

double PageUnitsToPixels(int units, double dpi) { return units * dpi / kUnitsPerInch; }

QtPainterSurface::QtPainterSurface(QPainter& painter, double dpi, int pixelWidth, int pixelHeight)
    : painter_(painter),
      scale_(dpi > 0 ? dpi / kUnitsPerInch : 96.0 / kUnitsPerInch),
      pixelWidth_(std::max(0, pixelWidth)),
      pixelHeight_(std::max(0, pixelHeight)) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
}

PageSize QtPainterSurface::AreaSize() const {
  return {static_cast<int>(pixelWidth_ / scale_), static_cast<int>(pixelHeight_ / scale_)};
}

QPointF QtPainterSurface::ToDevice(PagePoint p) const { return {p.x * scale_, -static_cast<double>(p.y) * scale_}; }

QRectF QtPainterSurface::ToDevice(const PageRect& r) const {
  return QRectF(ToDevice(r.a), ToDevice(r.b)).normalized();
}

QPen QtPainterSurface::ToQPen(const Pen& pen) const {
  // A pen no wider than a pixel is the device's thinnest line, as a window
  // draws it; the cosmetic pen is also Qt's fast path for long polylines.
  const double width = pen.width * scale_;
  QPen q(ToQColor(pen.colour));
  q.setStyle(Qt::SolidLine);
  q.setWidthF(width <= 1.0 ? 0.0 : width);
  q.setCapStyle(Qt::RoundCap);
  q.setJoinStyle(Qt::RoundJoin);
  return q;
}

QFont QtPainterSurface::ToQFont(const Font& font) const {
  QFont q;
  q.setFamilies({QString::fromStdString(font.face), QString::fromLatin1(FallbackFace(font.face))});
  q.setStyleHint(QFont::SansSerif);
  // The height is that of the character cell (ascent and descent), as the
  // plots give it; the em size is smaller by the face's own proportions.
  // No plot needs letters taller than a screen; a hostile height stays bounded.
  const double cell = std::clamp(std::abs(static_cast<double>(font.height)) * scale_, 1.0, 2000.0);
  q.setPixelSize(std::max(1, static_cast<int>(std::lround(cell))));
  const QFontMetricsF metrics(q);
  const double measured = metrics.ascent() + metrics.descent();
  if (measured > 0) {
    q.setPixelSize(std::max(1, static_cast<int>(std::lround(cell * q.pixelSize() / measured))));
  }
  return q;
}

void QtPainterSurface::Line(PagePoint from, PagePoint to, const Pen& pen) {
  painter_.setPen(ToQPen(pen));
  painter_.drawLine(ToDevice(from), ToDevice(to));
}

void QtPainterSurface::Polyline(const PagePoint* points, size_t count, const Pen& pen) {
  if (points == nullptr || count < 2) return;
  QPolygonF polygon;
  polygon.reserve(static_cast<qsizetype>(count));
  for (size_t i = 0; i < count; ++i) polygon.append(ToDevice(points[i]));
  painter_.setPen(ToQPen(pen));
  painter_.drawPolyline(polygon);
}

void QtPainterSurface::Text(PagePoint at, const std::string& text, const std::optional<Font>& font) {
  QFont q;
  int escapement = 0;
  if (font) {
    q = ToQFont(*font);
    escapement = font->escapement;
  } else {
    q.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    q.setStyleHint(QFont::SansSerif);
    q.setPixelSize(kSurfaceFontPixels);
  }
  painter_.save();
  painter_.setFont(q);
  painter_.setPen(QPen(Qt::black));
  painter_.translate(ToDevice(at));
  // Counter-clockwise on the page is clockwise-negative for the painter,
  // whose y grows downward.
  painter_.rotate(-escapement / 10.0);
  const QFontMetricsF metrics(q);
  painter_.drawText(QPointF(0, metrics.ascent()), QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  painter_.restore();
}

void QtPainterSurface::Ellipse(const PageRect& box, const Pen& outline, Rgb fill) {
  painter_.setPen(ToQPen(outline));
  painter_.setBrush(ToQColor(fill));
  painter_.drawEllipse(ToDevice(box));
  painter_.setBrush(Qt::NoBrush);
}

void QtPainterSurface::Rectangle(const PageRect& box, const Pen& outline, Rgb fill) {
  painter_.setPen(ToQPen(outline));
  painter_.setBrush(ToQColor(fill));
  painter_.drawRect(ToDevice(box));
  painter_.setBrush(Qt::NoBrush);
}

void QtPainterSurface::FillRect(const PageRect& box, Rgb fill) { painter_.fillRect(ToDevice(box), ToQColor(fill)); }

void QtPainterSurface::Image(const RgbImage& image, const PageRect& box) {
  if (image.width <= 0 || image.height <= 0) return;
  if (image.pixels.size() < static_cast<size_t>(image.width) * static_cast<size_t>(image.height)) return;
  QImage q(image.width, image.height, QImage::Format_RGB32);
  for (int row = 0; row < image.height; ++row) {
    auto* line = reinterpret_cast<QRgb*>(q.scanLine(row));
    const uint32_t* from = image.pixels.data() + static_cast<size_t>(row) * static_cast<size_t>(image.width);
    for (int col = 0; col < image.width; ++col) line[col] = 0xff000000u | (from[col] & 0xffffffu);
  }
  const QPointF a = ToDevice(box.a);
  const QPointF b = ToDevice(box.b);
  // The first row goes to a's side, the first column to a's side.
  q = q.mirrored(a.x() > b.x(), a.y() > b.y());
  painter_.save();
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter_.drawImage(QRectF(a, b).normalized(), q);
  painter_.restore();
}

}  // namespace zentrova
