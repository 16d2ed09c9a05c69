#pragma once
// How a plot is fitted to its drawing area: the plot area is the zoomed
// area less the margins, and the scales map each axis range onto it.

#include "display/drawing_parameter.h"
#include "display/drawing_surface.h"
#include "display/plot_axes.h"

namespace zentrova {

struct PlotArea {
  int width = 0;   // W
  int height = 0;  // H
};

// Sets fXScale and fYScale so that the ranges fill the plot area (a range
// of zero width gets scale 0); returns the plot area.
PlotArea FitPlotArea(PlotAxes& axes, PageSize area, const CDrawingParameter& dp);

// The frame's right edge R (x) and bottom edge B (downward distance).
int FrameRight(const PlotAxes& axes, const CDrawingParameter& dp);
int FrameBottom(const PlotAxes& axes, const CDrawingParameter& dp);

}  // namespace zentrova
