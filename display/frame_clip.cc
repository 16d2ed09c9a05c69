#include "display/frame_clip.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "display/plot_area.h"

namespace zentrova {
namespace {

struct Span {
  double t0 = 0.0;
  double t1 = 1.0;
};

// Liang-Barsky: narrows the span of the segment p + t (q - p) to one side.
bool Narrow(double denominator, double numerator, Span& span) {
  if (denominator == 0.0) return numerator >= 0.0;
  const double t = numerator / denominator;
  if (denominator < 0.0) {
    if (t > span.t1) return false;
    span.t0 = std::max(span.t0, t);
  } else {
    if (t < span.t0) return false;
    span.t1 = std::min(span.t1, t);
  }
  return true;
}

std::optional<Span> Inside(PagePoint p, PagePoint q, const FrameBox& box) {
  const double dx = static_cast<double>(q.x) - p.x, dy = static_cast<double>(q.y) - p.y;
  Span s;
  if (!Narrow(-dx, static_cast<double>(p.x) - box.left, s) || !Narrow(dx, static_cast<double>(box.right) - p.x, s) ||
      !Narrow(-dy, static_cast<double>(p.y) - box.bottom, s) || !Narrow(dy, static_cast<double>(box.top) - p.y, s)) {
    return std::nullopt;
  }
  return s;
}

PagePoint At(PagePoint p, PagePoint q, double t, const FrameBox& box) {
  if (t <= 0.0) return p;
  if (t >= 1.0) return q;
  const double x = std::round(p.x + t * (static_cast<double>(q.x) - p.x));
  const double y = std::round(p.y + t * (static_cast<double>(q.y) - p.y));
  return {static_cast<int>(std::clamp<double>(x, box.left, box.right)),
          static_cast<int>(std::clamp<double>(y, box.bottom, box.top))};
}

}  // namespace

FrameBox FrameBoxOf(const PlotAxes& axes, const CDrawingParameter& dp) {
  FrameBox box;
  box.left = dp.nLeftMargin;
  box.right = std::max(box.left, FrameRight(axes, dp));
  box.top = -dp.nTopMargin;
  box.bottom = std::min(box.top, -FrameBottom(axes, dp));
  return box;
}

std::vector<std::vector<PagePoint>> ClipPolyline(const PagePoint* points, size_t count, const FrameBox& box) {
  std::vector<std::vector<PagePoint>> parts;
  std::vector<PagePoint> part;
  const auto finish = [&] {
    if (part.size() >= 2) parts.push_back(std::move(part));
    part.clear();
  };
  for (size_t i = 1; i < count; ++i) {
    const PagePoint p = points[i - 1], q = points[i];
    const std::optional<Span> s = Inside(p, q, box);
    if (!s) {
      finish();
      continue;
    }
    if (s->t0 > 0.0) finish();
    if (part.empty()) part.push_back(At(p, q, s->t0, box));
    part.push_back(At(p, q, s->t1, box));
    if (s->t1 < 1.0) finish();
  }
  finish();
  return parts;
}

void DrawClippedPolyline(DrawingSurface& surface, const std::vector<PagePoint>& points, const FrameBox& box,
                         const Pen& pen) {
  for (const std::vector<PagePoint>& part : ClipPolyline(points.data(), points.size(), box)) {
    surface.Polyline(part.data(), part.size(), pen);
  }
}

std::optional<PageRect> ClipRect(const PageRect& rect, const FrameBox& box) {
  const int x0 = std::max(std::min(rect.a.x, rect.b.x), box.left);
  const int x1 = std::min(std::max(rect.a.x, rect.b.x), box.right);
  const int y0 = std::max(std::min(rect.a.y, rect.b.y), box.bottom);
  const int y1 = std::min(std::max(rect.a.y, rect.b.y), box.top);
  if (x0 > x1 || y0 > y1) return std::nullopt;
  // The corners in the order given: the first stays the one nearer a.
  const PagePoint a{rect.a.x <= rect.b.x ? x0 : x1, rect.a.y >= rect.b.y ? y1 : y0};
  const PagePoint b{rect.a.x <= rect.b.x ? x1 : x0, rect.a.y >= rect.b.y ? y0 : y1};
  return PageRect{a, b};
}

}  // namespace zentrova
