#include "display/plot_frame.h"

#include <cmath>

#include "display/page_units.h"
#include "display/plot_area.h"
#include "display/text_scale.h"
#include "display/ticks.h"
#include "platform/printf.h"

namespace zentrova {
namespace {

Font Sized(int units, int escapement = 0) {
  Font f;
  f.height = TruncToPage(units * static_cast<double>(GetTextScale()));
  f.escapement = escapement;
  return f;
}

}  // namespace

std::string TickLabel(float step, double u) {
  std::string label = step < 0.09f ? Printf("%.2f", u) : step < 0.9f ? Printf("%.1f", u) : Printf("%.0f", u);
  // A value that rounds to zero reads "0", never "-0".
  if (label[0] == '-' && label.find_first_not_of("-0.") == std::string::npos) label.erase(0, 1);
  return label;
}

namespace {

void DrawHorizontalTicks(const PlotAxes& axes, DrawingSurface& surface, int L, int T, int B) {
  int lastLabel = 0;
  for (int k = 0; k < axes.nXTicks; ++k) {
    const float u = static_cast<float>(k * static_cast<double>(axes.fXStep) + axes.fXFirst);
    const int x = TruncToPage((static_cast<double>(u) - axes.fXMin) * axes.fXScale + L);
    surface.Line({x, -T}, {x, -B}, kGridPen);
    const std::string label = TickLabel(axes.fXStep, axes.dXOrigin + u);
    const int xl = x - EstimatedTextWidth(label) / 2;
    if (k == 0 || xl - lastLabel >= kLabelSpacing) {
      surface.Text({xl, -(T - 50)}, label, TickLabelFont());
      lastLabel = xl;
    }
  }
}

void DrawVerticalTicks(const PlotAxes& axes, DrawingSurface& surface, int L, int T, int R) {
  for (int k = 0; k < axes.nYTicks; ++k) {
    const float u = static_cast<float>(k * static_cast<double>(axes.fYStep) + axes.fYFirst);
    const double offset = axes.bYDown == 1 ? static_cast<double>(u) - axes.fYMin : static_cast<double>(axes.fYMax) - u;
    const int d = TruncToPage(offset * axes.fYScale + T);
    surface.Line({L, -d}, {R, -d}, kGridPen);
    surface.Text({L - LabelIndent(axes.fYStep), -d + 25}, TickLabel(axes.fYStep, u), TickLabelFont());
  }
}

}  // namespace

int EstimatedTextWidth(const std::string& text) { return 12 * static_cast<int>(text.size()); }

Font TickLabelFont() { return Sized(35); }
Font XTitleFont() { return Sized(40); }
// A quarter turn, reading from bottom to top.
Font YTitleFont() { return Sized(35, 900); }
Font CaptionFont() { return Sized(50); }

void DrawPlotFrame(const PlotAxes& axes, DrawingSurface& surface, int yTitleOffset, const CDrawingParameter& dp) {
  const int L = dp.nLeftMargin;
  const int T = dp.nTopMargin;
  const int R = FrameRight(axes, dp);
  const int B = FrameBottom(axes, dp);

  DrawHorizontalTicks(axes, surface, L, T, B);
  if (axes.bXTitle == 1) {
    const int x = TruncToPage((static_cast<double>(axes.fXMax) - axes.fXMin) * axes.fXScale * 0.5 + L -
                              EstimatedTextWidth(axes.strXTitle) / 2);
    // Below the frame, where no caption reaches it.
    surface.Text({x, -(B + kXTitleGap)}, axes.strXTitle, XTitleFont());
  }
  DrawVerticalTicks(axes, surface, L, T, R);
  if (axes.bYTitle == 1) {
    const int d = TruncToPage((static_cast<double>(axes.fYMax) - axes.fYMin) * axes.fYScale * 0.5 + T +
                              EstimatedTextWidth(axes.strYTitle) / 2);
    surface.Text({L - yTitleOffset, -d}, axes.strYTitle, YTitleFont());
  }
  surface.Line({L, -T}, {R, -T}, kFramePen);
  surface.Line({L, -B}, {R, -B}, kFramePen);
  surface.Line({L, -T}, {L, -B}, kFramePen);
  surface.Line({R, -T}, {R, -B}, kFramePen);
}

}  // namespace zentrova
