#pragma once
// A drawing surface that keeps every primitive it is given, in order, for
// tests that check what a plot draws and where.

#include <string>
#include <vector>

#include "display/drawing_surface.h"

namespace zentrova {

class RecordingSurface : public DrawingSurface {
 public:
  enum class Kind { kLine, kPolyline, kText, kEllipse, kRectangle, kFillRect, kImage };

  struct Primitive {
    Kind kind = Kind::kLine;
    std::vector<PagePoint> points;  // line: two; polyline: all; text: one
    PageRect box;                   // ellipse, rectangles, image
    Pen pen;
    Rgb fill;
    std::string text;
    std::optional<Font> font;
    RgbImage image;
  };

  explicit RecordingSurface(PageSize area) : area_(area) {}

  PageSize AreaSize() const override { return area_; }
  void Line(PagePoint from, PagePoint to, const Pen& pen) override;
  void Polyline(const PagePoint* points, size_t count, const Pen& pen) override;
  void Text(PagePoint at, const std::string& text, const std::optional<Font>& font) override;
  void Ellipse(const PageRect& box, const Pen& outline, Rgb fill) override;
  void Rectangle(const PageRect& box, const Pen& outline, Rgb fill) override;
  void FillRect(const PageRect& box, Rgb fill) override;
  void Image(const RgbImage& image, const PageRect& box) override;

  // Every primitive of one kind, in drawing order.
  std::vector<Primitive> Of(Kind kind) const;
  // The texts drawn, in order.
  std::vector<std::string> Texts() const;

  std::vector<Primitive> drawn;

 private:
  PageSize area_;
};

}  // namespace zentrova
