#include "display/waveform_drawing.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "detection/event_detection_parameters.h"
#include "display/frame_clip.h"
#include "display/page_units.h"
#include "display/plot_area.h"
#include "display/plot_frame.h"
#include "display/ticks.h"
#include "display/trigger_runs.h"
#include "platform/printf.h"

namespace zentrova {
namespace {

// Points of one polyline, gathered column by column: of the points that
// share one x (a page unit) the line covers only the span from the lowest
// to the highest, entered at the first and left at the last. A column of
// more than four points keeps those four, in their order; the line drawn is
// the same at any resolution, and a record of 100000 samples costs no more
// than the plot is wide.
class ColumnPoints {
 public:
  explicit ColumnPoints(size_t reserve) { out_.reserve(reserve); }

  void Add(PagePoint p) {
    if (count_ > 0 && p.x != column_[0].x) Flush();
    if (count_ < 4) {
      column_[count_] = p;
      if (count_ == 0 || p.y < low_.y) low_ = p, lowAt_ = count_;
      if (count_ == 0 || p.y > high_.y) high_ = p, highAt_ = count_;
    } else {
      if (p.y < low_.y) low_ = p, lowAt_ = count_;
      if (p.y > high_.y) high_ = p, highAt_ = count_;
    }
    last_ = p;
    ++count_;
  }

  std::vector<PagePoint>& Points() {
    Flush();
    return out_;
  }

 private:
  void Flush() {
    if (count_ == 0) return;
    if (count_ <= 4) {
      out_.insert(out_.end(), column_, column_ + count_);
    } else {
      out_.push_back(column_[0]);
      const size_t last = count_ - 1;
      const bool lowFirst = lowAt_ < highAt_;
      const size_t at1 = lowFirst ? lowAt_ : highAt_, at2 = lowFirst ? highAt_ : lowAt_;
      if (at1 != 0 && at1 != last) out_.push_back(lowFirst ? low_ : high_);
      if (at2 != 0 && at2 != last && at2 != at1) out_.push_back(lowFirst ? high_ : low_);
      out_.push_back(last_);
    }
    count_ = 0;
  }

  std::vector<PagePoint> out_;
  PagePoint column_[4];
  PagePoint low_, high_, last_;
  size_t lowAt_ = 0, highAt_ = 0, count_ = 0;
};

// How one picture maps the record onto the page.
struct Layout {
  const PlotAxes& axes;
  const CDrawingParameter& dp;
  FrameBox box;
  double unitMs = 1.0;  // ms per horizontal axis unit

  // The horizontal position of a time in ms from the shot.
  int X(double ms) const {
    return TruncToPage((ms / unitMs - axes.dXOrigin - axes.fXMin) * axes.fXScale + dp.nLeftMargin);
  }
  // Page units from the top to the baseline at vertical value v.
  int Distance(double v) const {
    const double offset = axes.bYDown == 1 ? v - axes.fYMin : static_cast<double>(axes.fYMax) - v;
    return TruncToPage(offset * axes.fYScale + dp.nTopMargin);
  }
};

// A trace's DELAY in ms (0 where it is not a number).
double DelayMs(const CHeader& h) { return std::isfinite(h.fDelay) ? h.fDelay / 1000.0 : 0.0; }

// A tint of `c` most of the way to white.
Rgb Lighter(Rgb c) {
  const auto towardWhite = [](uint8_t v) { return static_cast<uint8_t>(v + (255 - v) * 3 / 4); };
  return {towardWhite(c.r), towardWhite(c.g), towardWhite(c.b)};
}

// How a trace's quiet stretches are drawn: as its line, or, where the
// traces stand so close that their baselines would fill the frame, as a
// light line (or none, for all but every few traces) under the swings.
struct Baseline {
  bool dense = false;  // the quiet stretches are left to the light line
  bool drawn = true;   // the light line of this trace
};

// Draws the parts of the polyline that leave the baseline, each with the
// points that join it to the baseline at its ends.
void DrawSwings(DrawingSurface& surface, const std::vector<PagePoint>& points, int baselineY, const FrameBox& box,
                const Pen& pen) {
  const size_t n = points.size();
  for (size_t i = 0; i < n;) {
    if (points[i].y == baselineY) {
      ++i;
      continue;
    }
    size_t end = i;
    while (end < n && points[end].y != baselineY) ++end;
    const size_t from = i > 0 ? i - 1 : i;
    const size_t to = end < n ? end + 1 : n;
    DrawClippedPolyline(surface, std::vector<PagePoint>(points.begin() + static_cast<std::ptrdiff_t>(from),
                                                        points.begin() + static_cast<std::ptrdiff_t>(to)),
                        box, pen);
    i = end;
  }
}

void DrawTrace(DrawingSurface& surface, const Layout& layout, const CHeader& h, const std::vector<float>& samples,
               float unit, float normaliser, int d0, Baseline baseline) {
  const size_t n = std::min(samples.size(), static_cast<size_t>(std::max(h.nSamples, 0)));
  if (n == 0) return;
  // A normaliser of 0 (a silent trace or record) or one that is not a
  // number leaves the trace on its baseline.
  const bool flat = !(normaliser != 0.0f) || !std::isfinite(normaliser);
  const double delay = DelayMs(h);
  ColumnPoints points(std::min<size_t>(n, 4 * 4096));
  for (size_t j = 0; j < n; ++j) {
    const double t = delay + static_cast<double>(h.fSampleInterval) * static_cast<double>(j) / 1000.0;
    // A sample that is not a finite number is drawn on the baseline.
    const float a = flat || !std::isfinite(samples[j]) ? 0.0f : samples[j] * unit / normaliser;
    points.Add({layout.X(t), TruncToPage(a) - d0});
  }
  const Pen pen{TraceColour(h.nComponent), kTracePenWidth};
  std::vector<PagePoint>& line = points.Points();
  if (!baseline.dense) {
    DrawClippedPolyline(surface, line, layout.box, pen);
    return;
  }
  if (baseline.drawn) {
    DrawClippedPolyline(surface, {{line.front().x, -d0}, {line.back().x, -d0}}, layout.box,
                        Pen{Lighter(pen.colour), kTracePenWidth});
  }
  DrawSwings(surface, line, -d0, layout.box, pen);
}

// Traces closer than this (page units, about 4 pixels in the event image)
// have light baselines, and only every few a baseline of its own.
constexpr double kDenseTraceSpacing = 8.0;

Baseline BaselineOf(int trace, double spacing) {
  if (!(spacing < kDenseTraceSpacing)) return {};
  const int every = spacing > 0.0 ? static_cast<int>(std::ceil(kDenseTraceSpacing / spacing)) : 1;
  return {true, trace % std::max(every, 1) == 0};
}

// A disc where each run of triggers begins, and the run as a thin line
// along the baseline: a trace that triggers for a second shows one mark,
// not a bar that hides what it marks.
void DrawTriggers(DrawingSurface& surface, const Layout& layout, const EventDetectionParameters& p, int trace,
                  const CHeader& h, double gap, int d0) {
  if (trace >= kTriggerTraces || trace >= p.nMaxChannels || static_cast<size_t>(trace) >= p.nTraceTriggers.size() ||
      static_cast<size_t>(trace) >= p.fTraceTriggerTime.size()) {
    return;
  }
  const std::vector<float>& times = p.fTraceTriggerTime[trace];
  const int count = std::min({p.nTraceTriggers[trace], kMaxDrawnTriggers, static_cast<int>(times.size())});
  const double delay = DelayMs(h);
  for (const TriggerRun& run : TriggerRuns(times.data(), std::max(count, 0), gap)) {
    const int x0 = layout.X(delay + run.first * 1000.0);
    const int x1 = layout.X(delay + run.last * 1000.0);
    if (x1 > x0) DrawClippedPolyline(surface, {{x0, -d0}, {x1, -d0}}, layout.box, kTriggerRunPen);
    if (layout.box.Contains({x0, -d0})) {
      surface.Ellipse({{x0 - kTriggerRadius, -d0 - kTriggerRadius}, {x0 + kTriggerRadius, -d0 + kTriggerRadius}},
                      kMarkerPen, kRed);
    }
  }
}

void DrawEvents(DrawingSurface& surface, const Layout& layout, const EventDetectionParameters& p, double delay) {
  const FrameBox& box = layout.box;
  const auto inside = [&](int x) { return x >= box.left && x <= box.right; };
  const int count = std::min(p.nEvents, static_cast<int>(p.fEventTime.size()));
  for (int e = 0; e < count; ++e) {
    const int x = layout.X(delay + p.fEventTime[e] * 1000.0);
    if (inside(x)) surface.Line({x, box.top}, {x, box.bottom}, kMarkerPen);
  }
  // Where each event begins, after the event lines: an onset on an event
  // time stays visible. A disc on the frame's top edge marks it where the
  // line runs along a trace's first loud swing.
  const int onsets = std::min(p.nEvents, static_cast<int>(p.fEventOnset.size()));
  for (int e = 0; e < onsets; ++e) {
    const int x = layout.X(delay + p.fEventOnset[e] * 1000.0);
    if (!inside(x)) continue;
    surface.Line({x, box.top}, {x, box.bottom}, kOnsetPen);
    surface.Ellipse({{x - kTriggerRadius, box.top + kTriggerRadius}, {x + kTriggerRadius, box.top - kTriggerRadius}},
                    kOnsetPen, kOnsetGreen);
  }
}

// The time axis, from the earliest first sample: the axis' values are
// kept from that origin (in double precision), so that the record's span
// keeps its resolution at any delay.
double SetTimeAxis(PlotAxes& axes, const SeismicRecord& r) {
  const TimeSpan span = RecordTimeSpan(r);
  const double unit = TimeAxisUnit(span);
  axes.dXOrigin = span.firstMs / unit;
  axes.fXMin = 0.0f;
  axes.fXMax = static_cast<float>((span.lastMs - span.firstMs) / unit);
  axes.strXTitle = unit == 1.0 ? "Time (ms)" : "Time (s)";
  return unit;
}

// A step of round times whose labels, as long as the longest of them (a
// large delay gives long ones), stand apart with room between them.
float TimeStep(const PlotAxes& axes) {
  const Font font = TickLabelFont();
  constexpr int kRoom = 30;
  int spacing = std::max(kLabelSpacing, DrawnTextWidth("-0000", font) + kRoom);
  float step = ReadableStep(axes.fXScale, static_cast<float>(spacing));
  for (int pass = 0; pass < 3 && step > 0.0f; ++pass) {
    const double ends[] = {axes.dXOrigin + axes.fXMin, axes.dXOrigin + axes.fXMax};
    int widest = 0;
    for (const double v : ends) {
      const double whole = std::floor(v / step) * step;  // a label's value near the end
      widest = std::max({widest, DrawnTextWidth(TickLabel(step, whole), font),
                         DrawnTextWidth(TickLabel(step, whole + step), font)});
    }
    if (widest + kRoom <= spacing) break;
    spacing = widest + kRoom;
    step = ReadableStep(axes.fXScale, static_cast<float>(spacing));
  }
  return step;
}

void SetTraceAxis(PlotAxes& axes, const SeismicRecord& r, int traces, TracePlacement placement) {
  if (placement == TracePlacement::kByNumber || traces < 1) {
    axes.fYMin = -0.5f;
    axes.fYMax = static_cast<float>(r.nTraces) - 0.5f;
    axes.strYTitle = "Trace";
    return;
  }
  float lo = TraceOffset(r.pHeader[0]), hi = lo;
  for (int i = 1; i < traces; ++i) {
    lo = std::min(lo, TraceOffset(r.pHeader[i]));
    hi = std::max(hi, TraceOffset(r.pHeader[i]));
  }
  // Half a receiver spacing beyond the first and the last trace.
  const float half = traces > 1 && hi > lo ? (hi - lo) / static_cast<float>(traces - 1) / 2.0f : 0.5f;
  axes.fYMin = lo - half;
  axes.fYMax = hi + half;
  axes.strYTitle = "Offset (m)";
}

// Labels of the trace axis stand this far apart at least.
int TraceLabelSpacing() { return TickLabelFont().height * 6 / 5; }

// Whether trace `number` (from 1) is labelled when every `every`th is: the
// first always; then every second from it (1, 3, 5 ...), or, from every
// fifth on, the round numbers (1, 5, 10 ...).
bool Labelled(int number, int every) {
  if (number == 1 || every <= 1) return true;
  return every < 5 ? (number - 1) % every == 0 : number % every == 0;
}

// Trace numbers beside the frame, one a trace where they fit; otherwise
// the first's and every second, fifth, tenth ... trace's, with a grid line
// through each labelled baseline.
void DrawTraceNumbers(DrawingSurface& surface, const Layout& layout, int traces) {
  const float step = std::max(1.0f, ReadableStep(layout.axes.fYScale, static_cast<float>(TraceLabelSpacing())));
  const int every = static_cast<int>(std::min(step, 1.0e6f));
  const Font font = TickLabelFont();
  for (int number = 1; number <= traces; ++number) {
    if (!Labelled(number, every)) continue;
    const int d = layout.Distance(number - 1);
    surface.Line({layout.box.left, -d}, {layout.box.right, -d}, kGridPen);
    const std::string label = std::to_string(number);
    surface.Text({layout.box.left - kTraceLabelGap - DrawnTextWidth(label, font), -d + font.height / 2}, label, font);
  }
}

// An offset with the decimals its step needs (a step of 0.005 m shows
// millimetres), "0" never written "-0".
std::string OffsetLabel(float step, double offset) {
  const int decimals = step > 0.0f ? std::clamp(static_cast<int>(std::ceil(-std::log10(step) - 1e-6)), 0, 6) : 0;
  std::string label = Printf("%.*f", decimals, offset);
  if (label[0] == '-' && label.find_first_not_of("-0.") == std::string::npos) label.erase(0, 1);
  return label;
}

// The offsets beside the frame, each ending a gap before it whatever its
// length, with a grid line through each; a label that would read as the
// one before is left out.
void DrawOffsetLabels(DrawingSurface& surface, const Layout& layout) {
  const PlotAxes& axes = layout.axes;
  const Font font = TickLabelFont();
  std::string last;
  for (int k = 0; k < axes.nYTicks; ++k) {
    const double u = k * static_cast<double>(axes.fYStep) + axes.fYFirst;
    const int d = layout.Distance(u);
    surface.Line({layout.box.left, -d}, {layout.box.right, -d}, kGridPen);
    const std::string label = OffsetLabel(axes.fYStep, u);
    if (label == last) continue;
    surface.Text({layout.box.left - kTraceLabelGap - DrawnTextWidth(label, font), -d + font.height / 2}, label, font);
    last = label;
  }
}

}  // namespace

Rgb TraceColour(int nComponent) {
  static constexpr Rgb kColours[] = {{0, 0, 0},     {0, 0, 255},   {0, 150, 100}, {200, 0, 150}, {100, 200, 0},
                                     {150, 150, 0}, {150, 0, 150}, {200, 100, 0}, {0, 200, 200}};
  if (nComponent >= 1 && nComponent <= 9) return kColours[nComponent - 1];
  return kBlack;
}

float TraceOffset(const CHeader& h) {
  return static_cast<float>((static_cast<double>(h.nReceiverLoc) - h.nSourceLoc) / 100.0);
}

TimeSpan RecordTimeSpan(const SeismicRecord& r) {
  const int traces = std::min(r.nTraces, static_cast<int>(r.pHeader.size()));
  TimeSpan span;
  bool any = false;
  for (int i = 0; i < traces; ++i) {
    const CHeader& h = r.pHeader[i];
    if (h.nSamples < 1 || !std::isfinite(h.fSampleInterval)) continue;
    const double first = DelayMs(h);
    const double last = first + static_cast<double>(h.fSampleInterval) * h.nSamples / 1000.0;
    span.firstMs = any ? std::min(span.firstMs, first) : first;
    span.lastMs = any ? std::max(span.lastMs, last) : last;
    any = true;
  }
  if (!any) span.lastMs = r.fMaxLength;
  return span;
}

double TimeAxisUnit(const TimeSpan& span) { return span.lastMs - span.firstMs > kSecondsAxisFrom ? 1000.0 : 1.0; }

FittedCaption WaveformCaption(const SeismicRecord& r, int width) {
  const int samples = r.nTraces > 0 && !r.pHeader.empty() ? r.pHeader[0].nSamples : 0;
  return FitCaption(
      r.strFileName,
      {[&](const std::string& n) {
         return Printf("%s (Number of traces = %d : Number of samples = %d)", n.c_str(), r.nTraces, samples);
       },
       [&](const std::string& n) { return Printf("%s (%d traces, %d samples)", n.c_str(), r.nTraces, samples); },
       [&](const std::string& n) { return Printf("%s (%d traces)", n.c_str(), r.nTraces); },
       [](const std::string& n) { return n; }},
      width);
}

int DrawWaveforms(DrawingSurface& surface, PlotAxes& axes, const CZentrovaDoc& doc, PageSize area, float gain,
                  int normalize, TracePlacement placement) {
  const FittedCaption caption = WaveformCaption(doc.record, std::abs(area.width) - 2 * kCaptionIndent);
  surface.Text({kCaptionIndent, -10}, caption.text, caption.font);
  return DrawWaveformPlot(surface, axes, doc, area, gain, normalize, placement);
}

int DrawWaveformPlot(DrawingSurface& surface, PlotAxes& axes, const CZentrovaDoc& doc, PageSize area, float gain,
                     int normalize, TracePlacement placement) {
  const SeismicRecord& r = doc.record;
  const CDrawingParameter& dp = doc.drawingParameter;
  if (r.nTraces < 1) return 0;
  const int traces = std::min({r.nTraces, static_cast<int>(r.pHeader.size()), static_cast<int>(r.ppData.size())});

  const double unitMs = SetTimeAxis(axes, r);
  SetTraceAxis(axes, r, traces, placement);
  const PlotArea plot = FitPlotArea(axes, area, dp);
  const Font label = TickLabelFont();
  axes.fXStep = TimeStep(axes);
  axes.fYStep = ReadableStep(axes.fYScale, static_cast<float>(TraceLabelSpacing()));
  UpdateTicks(axes);
  AlignXTicks(axes);
  AlignYTicks(axes);
  const Layout layout{axes, dp, FrameBoxOf(axes, dp), unitMs};
  // The trace axis' labels are drawn here, right-aligned against the
  // frame; the frame draws no other.
  if (placement == TracePlacement::kByNumber) {
    axes.nYTicks = 0;
    DrawTraceNumbers(surface, layout, traces);
  } else {
    DrawOffsetLabels(surface, layout);
    axes.nYTicks = 0;
  }
  DrawPlotFrame(axes, surface, 150, dp);

  const float unit = static_cast<float>(plot.height) / static_cast<float>(r.nTraces) * gain;
  // Page units between neighbouring baselines.
  const double spacing = std::fabs(static_cast<double>(plot.height)) / std::max(traces, 1);
  const EventDetectionParameters* markers = doc.bEventDetection == 1 ? doc.pDetectionParameters.get() : nullptr;
  const double gap = markers ? TriggerRunGap(r.pHeader.empty() ? 0.0f : r.pHeader[0].fSampleInterval,
                                             markers->fTimeWindow1, markers->fTimeWindow2)
                             : 0.0;
  for (int i = 0; i < traces; ++i) {
    const CHeader& h = r.pHeader[i];
    // By number, trace i on line i whatever its receiver location: the
    // axis counts traces, and receivers 2 m apart would put half the
    // traces below the frame.
    const int d0 = layout.Distance(placement == TracePlacement::kByOffset ? static_cast<double>(TraceOffset(h)) : i);
    const float normaliser = normalize == 1 ? h.fMaxAmplitude : r.fMaxAmplitude;
    DrawTrace(surface, layout, h, r.ppData[i], unit, normaliser, d0, BaselineOf(i, spacing));
    if (markers) DrawTriggers(surface, layout, *markers, i, h, gap, d0);
  }
  if (markers) DrawEvents(surface, layout, *markers, traces > 0 ? DelayMs(r.pHeader[0]) : 0.0);
  return 1;
}

}  // namespace zentrova
