#pragma once
// The frame of every plot: grid lines at the ticks of both axes, the tick
// labels, the axis titles and the black frame, in that order.

#include <string>

#include "display/drawing_parameter.h"
#include "display/drawing_surface.h"
#include "display/plot_axes.h"

namespace zentrova {

// yTitleOffset: page units from the frame's left edge to the vertical title.
void DrawPlotFrame(const PlotAxes& axes, DrawingSurface& surface, int yTitleOffset, const CDrawingParameter& dp);

// The width of a text as the plots estimate it: 12 page units a character.
int EstimatedTextWidth(const std::string& text);

inline constexpr Pen kGridPen{kBlue, 1};
inline constexpr Pen kFramePen{kBlack, 5};
// Labels closer than this (estimated starts) are thinned out.
inline constexpr int kLabelSpacing = 120;

// A tick's label, with the decimals its step needs ("%.0f" from 0.9 up,
// one decimal from 0.09, two below).
std::string TickLabel(float step, double u);

// Page units between the frame's bottom edge and the horizontal title.
inline constexpr int kXTitleGap = 20;

// The fonts of the plots, with heights by the text scale.
Font TickLabelFont();
Font XTitleFont();
Font YTitleFont();
Font CaptionFont();

}  // namespace zentrova
