#include "display/ticks.h"

#include <cmath>

namespace zentrova {
namespace {

float StepFor(float v) {
  if (v > 100000.0f) return 10000.0f;
  if (v > 10000.0f) return 1000.0f;
  if (v > 1000.0f) return 100.0f;
  if (v > 100.0f) return 10.0f;
  if (v > 10.0f) return 1.0f;
  return 0.1f;
}

float Coarser(float step, float scale) { return scale * step < 100.0f ? step * 10.0f : step; }

int TickCount(float min, float max, float step) {
  if (!(step > 0.0f)) return 0;
  const float n = (max - min) / step;
  if (!std::isfinite(n) || n <= -1.0f) return 0;
  if (n >= kMaxTicks) return kMaxTicks;
  return static_cast<int>(n) + 1;
}

// The first multiple of `step` at or after origin + min, as an offset from
// the origin, and the ticks from it.
void Align(float min, float max, float step, double origin, float& first, int& count) {
  if (!(step > 0.0f) || !std::isfinite(min) || !std::isfinite(max) || !std::isfinite(origin)) return;
  const double k = std::ceil((origin + min) / step - 1e-4);
  // Beyond 2^53 a whole multiple is no longer exact: the ticks stay at the range's start.
  if (!(std::fabs(k) < 9.0e15)) return;
  first = static_cast<float>(k * step - origin);
  count = max >= first ? TickCount(first, max, step) : 0;
}

}  // namespace

float ReadableStep(float scale, float spacing) {
  if (!(scale > 0.0f) || !std::isfinite(scale) || !(spacing > 0.0f)) return 0.0f;
  const double least = static_cast<double>(spacing) / scale;
  double decade = std::pow(10.0, std::floor(std::log10(least)));
  if (!(decade > 0.0) || !std::isfinite(decade)) return 0.0f;
  for (;;) {
    for (double m : {1.0, 2.0, 5.0}) {
      if (m * decade >= least * (1.0 - 1e-6)) return static_cast<float>(m * decade);
    }
    decade *= 10.0;
  }
}

void AlignXTicks(PlotAxes& axes) {
  Align(axes.fXMin, axes.fXMax, axes.fXStep, axes.dXOrigin, axes.fXFirst, axes.nXTicks);
}
void AlignYTicks(PlotAxes& axes) { Align(axes.fYMin, axes.fYMax, axes.fYStep, 0.0, axes.fYFirst, axes.nYTicks); }

void ChooseTickSteps(PlotAxes& axes) {
  axes.fXStep = Coarser(StepFor(axes.fXMax), axes.fXScale);
  axes.fYStep = Coarser(StepFor(axes.fYMax), axes.fYScale);
}

void UpdateTicks(PlotAxes& axes) {
  axes.nXTicks = TickCount(axes.fXMin, axes.fXMax, axes.fXStep);
  axes.nYTicks = TickCount(axes.fYMin, axes.fYMax, axes.fYStep);
  axes.fXFirst = axes.fXMin;
  axes.fYFirst = axes.fYMin;
}

int LabelIndent(float step) {
  const double a = std::fabs(static_cast<double>(step));
  struct Row {
    double atLeast;
    int indent;
  };
  static constexpr Row kRows[] = {
      {100000, 175}, {10000, 150}, {1000, 125}, {100, 100},       {10, 75},         {1, 50},
      {0.09, 75},    {0.009, 100}, {0.0009, 125}, {0.00009, 150}, {0.000009, 175}, {0.0000009, 200},
  };
  for (const Row& row : kRows) {
    if (a >= row.atLeast) return row.indent;
  }
  return 100;
}

}  // namespace zentrova
