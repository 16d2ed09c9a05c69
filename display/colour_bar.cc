#include "display/colour_bar.h"

#include <algorithm>
#include <cmath>

#include "display/caption_fit.h"

#include "display/page_units.h"
#include "display/plot_area.h"
#include "display/plot_frame.h"
#include "display/ticks.h"

namespace zentrova {
namespace {

// From the bar's right edge: a short tick, then the value.
constexpr int kTickLength = 6;
constexpr int kLabelFromBar = 8;
// Beyond the widest value, towards the picture's edge.
constexpr int kEdgeRoom = 6;

}  // namespace

int ColourBarRoom(const std::vector<ColourBarLabel>& labels) {
  int widest = 0;
  for (const ColourBarLabel& label : labels) widest = std::max(widest, DrawnTextWidth(label.text, TickLabelFont()));
  return kColourBarGap + kColourBarWidth + kLabelFromBar + widest + kEdgeRoom;
}

void DrawColourBar(DrawingSurface& surface, const ColourScale& scale, const std::vector<ColourBarLabel>& labels,
                   const PlotAxes& axes, const CDrawingParameter& dp) {
  const std::vector<ColourScale::Row>& rows = scale.rows();
  const int top = dp.nTopMargin;
  const int bottom = FrameBottom(axes, dp);
  if (rows.empty() || bottom <= top) return;
  const int x0 = FrameRight(axes, dp) + kColourBarGap;
  const int x1 = x0 + kColourBarWidth;
  // The first image row is the bar's top: the highest colour.
  RgbImage cells;
  cells.width = 1;
  cells.height = static_cast<int>(rows.size());
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) cells.pixels.push_back(RgbImage::Pack(row->colour));
  surface.Image(cells, {{x0, -top}, {x1, -bottom}});
  surface.Line({x0, -top}, {x1, -top}, kDefaultPen);
  surface.Line({x0, -bottom}, {x1, -bottom}, kDefaultPen);
  surface.Line({x0, -top}, {x0, -bottom}, kDefaultPen);
  surface.Line({x1, -top}, {x1, -bottom}, kDefaultPen);

  const Font font = TickLabelFont();
  std::vector<int> drawn;
  std::vector<std::string> said;
  for (const ColourBarLabel& label : labels) {
    if (!(label.at >= 0.0f && label.at <= 1.0f)) continue;
    // A scale spread over no range names its one value once.
    if (std::find(said.begin(), said.end(), label.text) != said.end()) continue;
    const int d = TruncToPage(bottom - static_cast<double>(label.at) * (bottom - top));
    bool crowded = false;
    for (int other : drawn) crowded = crowded || std::abs(d - other) < font.height;
    if (crowded) continue;
    // A short tick, then the value centred on it.
    surface.Line({x1, -d}, {x1 + kTickLength, -d}, kDefaultPen);
    surface.Text({x1 + kLabelFromBar, -d + font.height / 2}, label.text, font);
    drawn.push_back(d);
    said.push_back(label.text);
  }
}

std::vector<ColourBarLabel> SpreadScaleLabels(float lo, float hi) {
  // Decimals for a tenth of the range.
  const float step = std::fabs(hi - lo) / 10.0f;
  return {{0.0f, TickLabel(step, lo)}, {1.0f, TickLabel(step, hi)}, {0.5f, TickLabel(step, (lo + hi) / 2.0f)}};
}

std::vector<ColourBarLabel> ThresholdLabels(const ColourScale& scale, const std::vector<float>& shown) {
  std::vector<ColourBarLabel> labels;
  const std::vector<ColourScale::Row>& rows = scale.rows();
  const float n = static_cast<float>(rows.size());
  for (size_t k = 0; k + 1 < rows.size(); ++k) {
    for (float v : shown) {
      if (rows[k].threshold == v) labels.push_back({static_cast<float>(k + 1) / n, TickLabel(1.0f, v)});
    }
  }
  return labels;
}

}  // namespace zentrova
