#pragma once
// The key of a colour picture: the colours of a scale stacked in a bar
// right of the frame, the lowest at the bottom, with the values of some
// boundaries beside it, so that a reader can tell which colour is the most
// and which the least.

#include <string>
#include <vector>

#include "display/colour_scale.h"
#include "display/drawing_parameter.h"
#include "display/drawing_surface.h"
#include "display/plot_axes.h"

namespace zentrova {

struct ColourBarLabel {
  float at = 0.0f;  // 0 at the bar's bottom, 1 at its top
  std::string text;
};

// The bar of `scale`: one cell of equal height per row, row 0 at the
// bottom, between the frame's top and bottom edges, kColourBarGap right of
// the frame; the labels beside it, thinned where they would overlap.
void DrawColourBar(DrawingSurface& surface, const ColourScale& scale, const std::vector<ColourBarLabel>& labels,
                   const PlotAxes& axes, const CDrawingParameter& dp);

// A scale spread over lo .. hi: its two ends and its middle.
std::vector<ColourBarLabel> SpreadScaleLabels(float lo, float hi);
// A scale of fixed thresholds: the thresholds at the boundaries above
// their rows, each that is listed in `shown`.
std::vector<ColourBarLabel> ThresholdLabels(const ColourScale& scale, const std::vector<float>& shown);

// Page units the bar and its labels take right of the frame: a plot keeps
// at least this much free there, so that no value is cut at the edge.
int ColourBarRoom(const std::vector<ColourBarLabel>& labels);

inline constexpr int kColourBarGap = 12;
inline constexpr int kColourBarWidth = 25;
// The thresholds of the velocity scale a bar names, m/s.
inline const std::vector<float> kVelocityBarValues{40.0f, 100.0f, 200.0f, 300.0f, 400.0f, 500.0f};

}  // namespace zentrova
