#include "display/dispersion_curve_drawing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>

#include "display/drawing_parameter.h"
#include "display/page_units.h"
#include "display/plot_area.h"
#include "display/plot_axes.h"
#include "display/plot_frame.h"
#include "display/ticks.h"
#include "platform/printf.h"

namespace zentrova {
namespace {

// Ranges shown when there is nothing to draw.
constexpr double kEmptyFrequencyMax = 50.0;  // Hz
constexpr double kEmptyVelocityMax = 500.0;  // m/s
// A gap in the combined curve: frequencies further apart than this many of
// its smallest steps.
constexpr double kGapSteps = 1.5;
// Page units of one band strip: a pixel of the PNG pictures.
constexpr int kStripWidth = 2;
constexpr Pen kCurveLinePen{kCombinedLineColour, 6};
constexpr int kHollowPenWidth = 3;
constexpr int kPad = 20;

// The average width of a character of a font of height h, for laying out
// text that must not run into its neighbours.
int TextWidth(const std::string& text, int h) { return TruncToPage(0.55 * h * static_cast<double>(text.size())); }

bool Drawn(const CurvePoint& p) {
  return p.picked && std::isfinite(p.frequency) && std::isfinite(p.velocity) && p.velocity > 0.0f;
}

bool Drawn(const CombinedPoint& p) {
  return p.count > 0 && std::isfinite(p.frequency) && std::isfinite(p.velocity) && std::isfinite(p.std);
}

// 1, 2 or 5 times a power of ten, so that `range` holds at most eight steps.
double NiceStep(double range) {
  if (!(range > 0.0) || !std::isfinite(range)) return 1.0;
  const double unit = std::pow(10.0, std::floor(std::log10(range / 8.0)));
  for (const double m : {1.0, 2.0, 5.0, 10.0}) {
    if (range / (m * unit) <= 8.0) return m * unit;
  }
  return 10.0 * unit;
}

// The placement of the plot: axes with their scales, and the frame's edges.
struct Frame {
  PlotAxes axes;
  CDrawingParameter dp;
  int left = 0, top = 0, right = 0, bottom = 0;  // downward distances for top and bottom

  int X(double frequency) const {
    return std::clamp(TruncToPage((frequency - axes.fXMin) * axes.fXScale + left), left, right);
  }
  // Downward distance from the area's top.
  int D(double velocity) const {
    return std::clamp(TruncToPage((static_cast<double>(axes.fYMax) - velocity) * axes.fYScale + top), top, bottom);
  }
};

void Widen(double& maxFrequency, double& maxVelocity, double f, double v) {
  maxFrequency = std::max(maxFrequency, f);
  maxVelocity = std::max(maxVelocity, v);
}

// Both axes from 0 to a whole step above the largest value shown.
PlotAxes AxesFor(const std::vector<ShotCurve>& shots, const std::vector<CombinedPoint>& combined) {
  double maxF = 0.0, maxV = 0.0;
  for (const ShotCurve& s : shots) {
    for (const CurvePoint& p : s.curve) {
      if (Drawn(p)) Widen(maxF, maxV, p.frequency, p.velocity);
    }
  }
  for (const CombinedPoint& p : combined) {
    if (Drawn(p)) Widen(maxF, maxV, p.frequency, p.velocity + p.std);
  }
  if (!(maxF > 0.0)) maxF = kEmptyFrequencyMax;
  if (!(maxV > 0.0)) maxV = kEmptyVelocityMax;
  maxV *= 1.05;  // markers at the largest velocity stay below the frame
  PlotAxes axes;
  axes.strXTitle = "Frequency (Hz)";
  axes.strYTitle = "Phase velocity (m/s)";
  axes.fXStep = static_cast<float>(NiceStep(maxF));
  axes.fYStep = static_cast<float>(NiceStep(maxV));
  axes.fXMax = static_cast<float>(std::ceil(maxF / axes.fXStep) * axes.fXStep);
  axes.fYMax = static_cast<float>(std::ceil(maxV / axes.fYStep) * axes.fYStep);
  return axes;
}

// Margins by the letters' sizes: the title above, the tick labels and the
// title of each axis beside it.
Frame FrameFor(PlotAxes axes, PageSize area) {
  Frame f;
  f.axes = axes;
  const int label = TickLabelFont().height;
  f.dp.nTopMargin = kPad + CaptionFont().height + 2 * kPad;
  f.dp.nBottomMargin = kPad + label + kPad + XTitleFont().height + kPad;
  f.dp.nLeftMargin = LabelIndent(axes.fYStep) + YTitleFont().height + 3 * kPad;
  f.dp.nRightMargin = 3 * kPad;
  FitPlotArea(f.axes, area, f.dp);
  UpdateTicks(f.axes);
  f.left = f.dp.nLeftMargin;
  f.top = f.dp.nTopMargin;
  f.right = FrameRight(f.axes, f.dp);
  f.bottom = FrameBottom(f.axes, f.dp);
  return f;
}

std::string Title(const std::vector<ShotCurve>& shots, bool withCurve) {
  if (shots.size() == 1) return shots[0].label + ": picks of one shot";
  if (withCurve) return Printf("%zu shots, combined curve (mean \xc2\xb1 1 std)", shots.size());
  return Printf("%zu shots, no frequency with a combined value", shots.size());
}

// Runs of the combined curve without gaps.
std::vector<std::vector<CombinedPoint>> Runs(const std::vector<CombinedPoint>& combined) {
  std::vector<CombinedPoint> points;
  for (const CombinedPoint& p : combined) {
    if (Drawn(p)) points.push_back(p);
  }
  std::sort(points.begin(), points.end(),
            [](const CombinedPoint& a, const CombinedPoint& b) { return a.frequency < b.frequency; });
  double step = 0.0;
  for (size_t i = 1; i < points.size(); ++i) {
    const double d = points[i].frequency - points[i - 1].frequency;
    if (d > 0.0 && (step == 0.0 || d < step)) step = d;
  }
  std::vector<std::vector<CombinedPoint>> runs;
  for (size_t i = 0; i < points.size(); ++i) {
    if (i == 0 || points[i].frequency - points[i - 1].frequency > kGapSteps * step) runs.emplace_back();
    runs.back().push_back(points[i]);
  }
  return runs;
}

// One strip of the band from x to x + width, between the velocities lo and hi.
void BandStrip(DrawingSurface& surface, const Frame& f, int x, int width, double lo, double hi) {
  const int right = std::min(x + width, f.right);
  if (right <= x) return;
  surface.FillRect({{x, -f.D(hi)}, {right, -f.D(lo)}}, kCombinedBandColour);
}

void DrawBand(DrawingSurface& surface, const Frame& f, const std::vector<CombinedPoint>& run) {
  if (run.size() == 1) {
    const int x = f.X(run[0].frequency);
    BandStrip(surface, f, x - kCurveMarkerRadius, 2 * kCurveMarkerRadius, run[0].velocity - run[0].std,
              run[0].velocity + run[0].std);
    return;
  }
  for (size_t i = 1; i < run.size(); ++i) {
    const CombinedPoint& a = run[i - 1];
    const CombinedPoint& b = run[i];
    const int x0 = f.X(a.frequency);
    const int x1 = f.X(b.frequency);
    for (int x = x0; x < x1; x += kStripWidth) {
      const double t = (x + 0.5 * kStripWidth - x0) / static_cast<double>(x1 - x0);
      const double mean = a.velocity + t * (b.velocity - a.velocity);
      const double std = a.std + t * (b.std - a.std);
      BandStrip(surface, f, x, std::min(kStripWidth, x1 - x), mean - std, mean + std);
    }
  }
}

void DrawMeanLine(DrawingSurface& surface, const Frame& f, const std::vector<CombinedPoint>& run) {
  std::vector<PagePoint> line;
  for (const CombinedPoint& p : run) line.push_back({f.X(p.frequency), -f.D(p.velocity)});
  if (line.size() == 1) {
    const PagePoint c = line[0];
    surface.Line({c.x - 2 * kCurveMarkerRadius, c.y}, {c.x + 2 * kCurveMarkerRadius, c.y}, kCurveLinePen);
    return;
  }
  surface.Polyline(line.data(), line.size(), kCurveLinePen);
}

void Marker(DrawingSurface& surface, PagePoint c, Rgb colour, bool filled) {
  constexpr int r = kCurveMarkerRadius;
  if (filled) {
    surface.Ellipse({{c.x - r, c.y - r}, {c.x + r, c.y + r}}, Pen{colour, 0}, colour);
    return;
  }
  // An outline only: whatever lies below stays visible.
  constexpr int kSides = 16;
  std::array<PagePoint, kSides + 1> ring;
  for (int k = 0; k <= kSides; ++k) {
    const double a = 2.0 * std::numbers::pi * k / kSides;
    ring[static_cast<size_t>(k)] = {c.x + TruncToPage(std::round(r * std::cos(a))),
                                    c.y + TruncToPage(std::round(r * std::sin(a)))};
  }
  surface.Polyline(ring.data(), ring.size(), Pen{colour, kHollowPenWidth});
}

void DrawMarkers(DrawingSurface& surface, const Frame& f, const ShotCurve& shot, Rgb colour) {
  for (const CurvePoint& p : shot.curve) {
    if (Drawn(p)) Marker(surface, {f.X(p.frequency), -f.D(p.velocity)}, colour, p.resolved);
  }
}

// Grid lines at the frequency ticks, their labels under the frame and the
// axis title under them.
void DrawFrequencyAxis(DrawingSurface& surface, const Frame& f) {
  const Font font = TickLabelFont();
  int lastEnd = std::numeric_limits<int>::min() / 2;
  for (int k = 0; k < f.axes.nXTicks; ++k) {
    const double u = k * static_cast<double>(f.axes.fXStep) + f.axes.fXFirst;
    const int x = f.X(u);
    surface.Line({x, -f.top}, {x, -f.bottom}, kGridPen);
    const std::string label = Printf("%g", u);
    const int w = TextWidth(label, font.height);
    if (x - w / 2 < lastEnd + kPad) continue;
    surface.Text({x - w / 2, -(f.bottom + kPad)}, label, font);
    lastEnd = x + w / 2;
  }
  const Font title = XTitleFont();
  const int w = TextWidth(f.axes.strXTitle, title.height);
  surface.Text({(f.left + f.right - w) / 2, -(f.bottom + 2 * kPad + font.height)}, f.axes.strXTitle, title);
}

// The legend's rows: a symbol and a text each.
struct LegendRow {
  enum class Symbol { kMarker, kHollow, kLine, kBand } symbol;
  Rgb colour;
  std::string text;
};

std::vector<LegendRow> LegendRows(const std::vector<ShotCurve>& shots, bool withCurve) {
  std::vector<LegendRow> rows;
  bool unresolved = false;
  for (size_t i = 0; i < shots.size(); ++i) {
    rows.push_back({LegendRow::Symbol::kMarker, ShotColour(i), shots[i].label});
    for (const CurvePoint& p : shots[i].curve) unresolved = unresolved || (Drawn(p) && !p.resolved);
  }
  if (unresolved) rows.push_back({LegendRow::Symbol::kHollow, kShotColours[6], "unresolved pick"});
  if (withCurve) {
    rows.push_back({LegendRow::Symbol::kLine, kCombinedLineColour, "mean"});
    rows.push_back({LegendRow::Symbol::kBand, kCombinedBandColour, "\xc2\xb1 1 std"});
  }
  return rows;
}

struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;  // downward distances for top and bottom
  bool Holds(int x, int d, int margin) const {
    return x >= left - margin && x <= right + margin && d >= top - margin && d <= bottom + margin;
  }
};

// How many of the drawn points the box would cover.
int Covered(const Box& box, const Frame& f, const std::vector<ShotCurve>& shots,
            const std::vector<CombinedPoint>& combined) {
  int n = 0;
  for (const ShotCurve& s : shots) {
    for (const CurvePoint& p : s.curve) {
      if (Drawn(p) && box.Holds(f.X(p.frequency), f.D(p.velocity), kCurveMarkerRadius)) ++n;
    }
  }
  for (const CombinedPoint& p : combined) {
    if (!Drawn(p)) continue;
    const int x = f.X(p.frequency);
    const bool overlaps = f.D(p.velocity + p.std) <= box.bottom && f.D(p.velocity - p.std) >= box.top;
    if (x >= box.left && x <= box.right && overlaps) n += 3;  // the curve counts more than one pick
  }
  return n;
}

// The corner of the frame, top right first, that covers the fewest points.
Box LegendBox(int width, int height, const Frame& f, const std::vector<ShotCurve>& shots,
              const std::vector<CombinedPoint>& combined) {
  const int inset = kPad;
  const Box corners[] = {
      {f.right - inset - width, f.top + inset, f.right - inset, f.top + inset + height},
      {f.right - inset - width, f.bottom - inset - height, f.right - inset, f.bottom - inset},
      {f.left + inset, f.top + inset, f.left + inset + width, f.top + inset + height},
      {f.left + inset, f.bottom - inset - height, f.left + inset + width, f.bottom - inset},
  };
  Box best = corners[0];
  int fewest = -1;
  for (const Box& b : corners) {
    const int n = Covered(b, f, shots, combined);
    if (fewest < 0 || n < fewest) {
      best = b;
      fewest = n;
    }
  }
  return best;
}

void LegendSymbol(DrawingSurface& surface, const LegendRow& row, int x, int d, int width) {
  switch (row.symbol) {
    case LegendRow::Symbol::kMarker:
      Marker(surface, {x + width / 2, -d}, row.colour, true);
      break;
    case LegendRow::Symbol::kHollow:
      Marker(surface, {x + width / 2, -d}, row.colour, false);
      break;
    case LegendRow::Symbol::kLine:
      surface.Line({x, -d}, {x + width, -d}, kCurveLinePen);
      break;
    case LegendRow::Symbol::kBand:
      surface.FillRect({{x, -(d - kCurveMarkerRadius)}, {x + width, -(d + kCurveMarkerRadius)}}, row.colour);
      break;
  }
}

void DrawLegend(DrawingSurface& surface, const Frame& f, const std::vector<ShotCurve>& shots,
                const std::vector<CombinedPoint>& combined, bool withCurve) {
  const std::vector<LegendRow> rows = LegendRows(shots, withCurve);
  const Font font = TickLabelFont();
  const int rowHeight = font.height + font.height / 4;
  const int symbolWidth = 3 * font.height / 2;
  int textWidth = 0;
  for (const LegendRow& row : rows) textWidth = std::max(textWidth, TextWidth(row.text, font.height));
  const int width = kPad + symbolWidth + kPad + textWidth + kPad;
  const int height = kPad + rowHeight * static_cast<int>(rows.size()) + kPad / 2;
  if (width > f.right - f.left - 2 * kPad || height > f.bottom - f.top - 2 * kPad) return;
  const Box box = LegendBox(width, height, f, shots, combined);
  surface.Rectangle({{box.left, -box.top}, {box.right, -box.bottom}}, kDefaultPen, kWindowBackground);
  for (size_t i = 0; i < rows.size(); ++i) {
    const int top = box.top + kPad + rowHeight * static_cast<int>(i);
    LegendSymbol(surface, rows[i], box.left + kPad, top + font.height / 2, symbolWidth);
    surface.Text({box.left + 2 * kPad + symbolWidth, -top}, rows[i].text, font);
  }
}

}  // namespace

void DrawDispersionCurves(DrawingSurface& surface, const std::vector<ShotCurve>& shots,
                          const std::vector<CombinedPoint>& combined) {
  const std::vector<std::vector<CombinedPoint>> runs = Runs(combined);
  const bool withCurve = !runs.empty();
  surface.Text({kPad, -kPad}, Title(shots, withCurve), CaptionFont());
  const Frame f = FrameFor(AxesFor(shots, combined), surface.AreaSize());
  if (f.right - f.left < 4 * kPad || f.bottom - f.top < 4 * kPad) return;  // no room for a plot

  for (const auto& run : runs) DrawBand(surface, f, run);
  DrawFrequencyAxis(surface, f);
  PlotAxes velocityOnly = f.axes;
  velocityOnly.nXTicks = 0;  // the frequency axis is drawn under the frame
  velocityOnly.bXTitle = 0;
  velocityOnly.bYTitle = 1;
  DrawPlotFrame(velocityOnly, surface, LabelIndent(f.axes.fYStep) + YTitleFont().height + kPad, f.dp);
  for (size_t i = 0; i < shots.size(); ++i) DrawMarkers(surface, f, shots[i], ShotColour(i));
  for (const auto& run : runs) DrawMeanLine(surface, f, run);
  DrawLegend(surface, f, shots, combined, withCurve);
}

}  // namespace zentrova
