#include "display/recording_surface.h"

namespace zentrova {

void RecordingSurface::Line(PagePoint from, PagePoint to, const Pen& pen) {
  Primitive p;
  p.kind = Kind::kLine;
  p.points = {from, to};
  p.pen = pen;
  drawn.push_back(std::move(p));
}

void RecordingSurface::Polyline(const PagePoint* points, size_t count, const Pen& pen) {
  Primitive p;
  p.kind = Kind::kPolyline;
  p.points.assign(points, points + count);
  p.pen = pen;
  drawn.push_back(std::move(p));
}

void RecordingSurface::Text(PagePoint at, const std::string& text, const std::optional<Font>& font) {
  Primitive p;
  p.kind = Kind::kText;
  p.points = {at};
  p.text = text;
  p.font = font;
  drawn.push_back(std::move(p));
}

void RecordingSurface::Ellipse(const PageRect& box, const Pen& outline, Rgb fill) {
  Primitive p;
  p.kind = Kind::kEllipse;
  p.box = box;
  p.pen = outline;
  p.fill = fill;
  drawn.push_back(std::move(p));
}

void RecordingSurface::Rectangle(const PageRect& box, const Pen& outline, Rgb fill) {
  Primitive p;
  p.kind = Kind::kRectangle;
  p.box = box;
  p.pen = outline;
  p.fill = fill;
  drawn.push_back(std::move(p));
}

void RecordingSurface::FillRect(const PageRect& box, Rgb fill) {
  Primitive p;
  p.kind = Kind::kFillRect;
  p.box = box;
  p.fill = fill;
  drawn.push_back(std::move(p));
}

void RecordingSurface::Image(const RgbImage& image, const PageRect& box) {
  Primitive p;
  p.kind = Kind::kImage;
  p.box = box;
  p.image = image;
  drawn.push_back(std::move(p));
}

std::vector<RecordingSurface::Primitive> RecordingSurface::Of(Kind kind) const {
  std::vector<Primitive> out;
  for (const Primitive& p : drawn) {
    if (p.kind == kind) out.push_back(p);
  }
  return out;
}

std::vector<std::string> RecordingSurface::Texts() const {
  std::vector<std::string> out;
  for (const Primitive& p : drawn) {
    if (p.kind == Kind::kText) out.push_back(p.text);
  }
  return out;
}

}  // namespace zentrova
