#include "display/plot_area.h"

#include <cstdlib>

#include "display/page_units.h"

namespace zentrova {
namespace {

float ScaleFor(int length, float min, float max) {
  const double range = static_cast<double>(max) - min;
  if (!(range != 0.0) || !std::isfinite(range)) return 0.0f;
  const double scale = length / range;
  return std::isfinite(scale) ? static_cast<float>(scale) : 0.0f;
}

}  // namespace

PlotArea FitPlotArea(PlotAxes& axes, PageSize area, const CDrawingParameter& dp) {
  PlotArea plot;
  plot.width = TruncToPage(std::abs(area.width) * static_cast<double>(dp.fZoom)) - dp.nLeftMargin - dp.nRightMargin;
  plot.height = TruncToPage(std::abs(area.height) * static_cast<double>(dp.fZoom)) - dp.nTopMargin - dp.nBottomMargin;
  axes.fXScale = ScaleFor(plot.width, axes.fXMin, axes.fXMax);
  axes.fYScale = ScaleFor(plot.height, axes.fYMin, axes.fYMax);
  return plot;
}

int FrameRight(const PlotAxes& axes, const CDrawingParameter& dp) {
  return TruncToPage((static_cast<double>(axes.fXMax) - axes.fXMin) * axes.fXScale + dp.nLeftMargin);
}

int FrameBottom(const PlotAxes& axes, const CDrawingParameter& dp) {
  return TruncToPage((static_cast<double>(axes.fYMax) - axes.fYMin) * axes.fYScale + dp.nTopMargin);
}

}  // namespace zentrova
