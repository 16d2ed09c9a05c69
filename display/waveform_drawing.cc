#include "display/waveform_drawing.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "detection/event_detection_parameters.h"
#include "display/page_units.h"
#include "display/plot_area.h"
#include "display/plot_frame.h"
#include "display/ticks.h"
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

// Page units from the top to channel `index`'s baseline.
int Baseline(const PlotAxes& axes, float index, const CDrawingParameter& dp) {
  const double offset =
      axes.bYDown == 1 ? static_cast<double>(index) - axes.fYMin : static_cast<double>(axes.fYMax) - index;
  return TruncToPage(offset * axes.fYScale + dp.nTopMargin);
}

// The horizontal position of a time in seconds from the first sample.
int TimeX(double seconds, const PlotAxes& axes, const CDrawingParameter& dp) {
  return dp.nLeftMargin + TruncToPage(seconds * 1000.0 * axes.fXScale);
}

void DrawTrace(DrawingSurface& surface, const PlotAxes& axes, const CDrawingParameter& dp, const CHeader& h,
               const std::vector<float>& samples, float unit, float normaliser, int d0) {
  const size_t n = std::min(samples.size(), static_cast<size_t>(std::max(h.nSamples, 0)));
  if (n == 0) return;
  // A normaliser of 0 (a silent trace or record) or one that is not a
  // number leaves the trace on its baseline.
  const bool flat = !(normaliser != 0.0f) || !std::isfinite(normaliser);
  ColumnPoints points(std::min<size_t>(n, 4 * 4096));
  for (size_t j = 0; j < n; ++j) {
    const float t = static_cast<float>(static_cast<double>(h.fSampleInterval) * static_cast<double>(j) / 1000.0);
    const int x = TruncToPage((static_cast<double>(t) - axes.fXMin) * axes.fXScale + dp.nLeftMargin);
    // A sample that is not a finite number is drawn on the baseline.
    const float a = flat || !std::isfinite(samples[j]) ? 0.0f : samples[j] * unit / normaliser;
    points.Add({x, TruncToPage(a) - d0});
  }
  const std::vector<PagePoint>& line = points.Points();
  surface.Polyline(line.data(), line.size(), Pen{TraceColour(h.nComponent), kTracePenWidth});
}

void DrawTriggers(DrawingSurface& surface, const PlotAxes& axes, const CDrawingParameter& dp,
                  const EventDetectionParameters& p, int trace, int d0) {
  if (trace >= kTriggerTraces || trace >= p.nMaxChannels || static_cast<size_t>(trace) >= p.nTraceTriggers.size() ||
      static_cast<size_t>(trace) >= p.fTraceTriggerTime.size()) {
    return;
  }
  const std::vector<float>& times = p.fTraceTriggerTime[trace];
  const int count = std::min({p.nTraceTriggers[trace], kMaxDrawnTriggers, static_cast<int>(times.size())});
  for (int k = 0; k < count; ++k) {
    const int x = TimeX(times[k], axes, dp);
    surface.Ellipse({{x - kTriggerRadius, -d0 - kTriggerRadius}, {x + kTriggerRadius, -d0 + kTriggerRadius}},
                    kMarkerPen, kRed);
  }
}

void DrawEvents(DrawingSurface& surface, const PlotAxes& axes, const CDrawingParameter& dp,
                const EventDetectionParameters& p) {
  const int bottom = TruncToPage(TruncToPage((static_cast<double>(axes.fYMax) - axes.fYMin) * axes.fYScale) +
                                 static_cast<double>(dp.nTopMargin));
  const int count = std::min(p.nEvents, static_cast<int>(p.fEventTime.size()));
  for (int e = 0; e < count; ++e) {
    const int x = TimeX(p.fEventTime[e], axes, dp);
    surface.Line({x, -dp.nTopMargin}, {x, -bottom}, kMarkerPen);
  }
  // Where each event begins, after the event lines: an onset on an event
  // time stays visible. A disc on the frame's top edge marks it where the
  // line runs along a trace's first loud swing.
  const int onsets = std::min(p.nEvents, static_cast<int>(p.fEventOnset.size()));
  for (int e = 0; e < onsets; ++e) {
    const int x = TimeX(p.fEventOnset[e], axes, dp);
    surface.Line({x, -dp.nTopMargin}, {x, -bottom}, kOnsetPen);
    surface.Ellipse({{x - kTriggerRadius, -dp.nTopMargin + kTriggerRadius},
                     {x + kTriggerRadius, -dp.nTopMargin - kTriggerRadius}},
                    kOnsetPen, kOnsetGreen);
  }
}

}  // namespace

Rgb TraceColour(int nComponent) {
  static constexpr Rgb kColours[] = {{0, 0, 0},     {0, 0, 255},   {0, 150, 100}, {200, 0, 150}, {100, 200, 0},
                                     {150, 150, 0}, {150, 0, 150}, {200, 100, 0}, {0, 200, 200}};
  if (nComponent >= 1 && nComponent <= 9) return kColours[nComponent - 1];
  return kBlack;
}

int DrawWaveforms(DrawingSurface& surface, PlotAxes& axes, const CZentrovaDoc& doc, PageSize area, float gain,
                  int normalize) {
  const SeismicRecord& r = doc.record;
  const int samples = r.nTraces > 0 && !r.pHeader.empty() ? r.pHeader[0].nSamples : 0;
  surface.Text({10, -10},
               Printf("%s (Number of traces = %d : Number of samples = %d)", r.strFileName.c_str(), r.nTraces, samples),
               CaptionFont());
  return DrawWaveformPlot(surface, axes, doc, area, gain, normalize);
}

int DrawWaveformPlot(DrawingSurface& surface, PlotAxes& axes, const CZentrovaDoc& doc, PageSize area, float gain,
                     int normalize) {
  const SeismicRecord& r = doc.record;
  const CDrawingParameter& dp = doc.drawingParameter;
  if (r.nTraces < 1) return 0;

  axes.fXMin = 0.0f;
  axes.fXMax = r.fMaxLength;
  axes.fYMin = -0.5f;
  axes.fYMax = static_cast<float>(r.nTraces) - 0.5f;
  const PlotArea plot = FitPlotArea(axes, area, dp);
  ChooseTickSteps(axes);
  UpdateTicks(axes);
  DrawPlotFrame(axes, surface, 150, dp);

  const float unit = static_cast<float>(plot.height) / static_cast<float>(r.nTraces) * gain;
  const EventDetectionParameters* markers = doc.bEventDetection == 1 ? doc.pDetectionParameters.get() : nullptr;
  const int traces = std::min({r.nTraces, static_cast<int>(r.pHeader.size()), static_cast<int>(r.ppData.size())});
  for (int i = 0; i < traces; ++i) {
    const CHeader& h = r.pHeader[i];
    // Trace i on channel i's baseline, whatever its receiver location: the
    // axis counts channels, and receivers 2 m apart would put half the
    // traces below the frame.
    const int d0 = Baseline(axes, static_cast<float>(i), dp);
    const float normaliser = normalize == 1 ? h.fMaxAmplitude : r.fMaxAmplitude;
    DrawTrace(surface, axes, dp, h, r.ppData[i], unit, normaliser, d0);
    if (markers) DrawTriggers(surface, axes, dp, *markers, i, d0);
  }
  if (markers) DrawEvents(surface, axes, dp, *markers);
  return 1;
}

}  // namespace zentrova
