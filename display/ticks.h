#pragma once
// Tick steps, tick counts and the indent of the vertical tick labels.

#include "display/plot_axes.h"

namespace zentrova {

// Steps from the axis maxima (powers of ten), made ten times coarser once
// where ticks would stand closer than 10 mm.
void ChooseTickSteps(PlotAxes& axes);

// Tick counts over the ranges (0 where the step is not positive); the
// first tick of each axis is its range's first value.
void UpdateTicks(PlotAxes& axes);

// Page units from the frame's left edge to the start of a vertical tick
// label, by the size of the step.
int LabelIndent(float step);

// The smallest step of 1, 2 or 5 times a power of ten whose ticks stand at
// least `spacing` page units apart at `scale` page units per axis unit; 0
// when the scale is not a positive number.
float ReadableStep(float scale, float spacing);

// The first tick on a whole multiple of the step, inside the range, and the
// count of ticks to the range's end (after UpdateTicks; the plots whose
// ranges begin anywhere, such as a time axis from a negative delay). The
// horizontal ticks are whole multiples with the axis' origin added.
void AlignXTicks(PlotAxes& axes);
void AlignYTicks(PlotAxes& axes);

// Ticks drawn at most per axis: a step far smaller than its range would
// otherwise ask for millions of grid lines.
inline constexpr int kMaxTicks = 10000;

}  // namespace zentrova
