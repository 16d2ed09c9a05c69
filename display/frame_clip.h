#pragma once
// Keeping the data of a plot inside its frame: lines are cut where they
// leave the frame's rectangle, shapes that lie outside are left out, and
// cells are trimmed to it. A loud trace then never runs over the caption,
// the tick labels or the picture below.

#include <optional>
#include <vector>

#include "display/drawing_parameter.h"
#include "display/drawing_surface.h"
#include "display/plot_axes.h"

namespace zentrova {

// The frame's inside in page coordinates: x from left to right, y from
// bottom (lowest, -B) to top (-T).
struct FrameBox {
  int left = 0;
  int right = 0;
  int bottom = 0;
  int top = 0;
  bool Contains(PagePoint p) const { return p.x >= left && p.x <= right && p.y >= bottom && p.y <= top; }
};

// The frame of `axes` as DrawPlotFrame draws it.
FrameBox FrameBoxOf(const PlotAxes& axes, const CDrawingParameter& dp);

// The parts of the polyline inside `box`, each a polyline of its own (a
// part of one point is dropped). Points on the box's edges belong to it.
std::vector<std::vector<PagePoint>> ClipPolyline(const PagePoint* points, size_t count, const FrameBox& box);

// Draws the parts of the polyline inside `box`.
void DrawClippedPolyline(DrawingSurface& surface, const std::vector<PagePoint>& points, const FrameBox& box,
                         const Pen& pen);

// The rectangle trimmed to `box`; nothing when they do not overlap.
std::optional<PageRect> ClipRect(const PageRect& rect, const FrameBox& box);

}  // namespace zentrova
