#pragma once
// The waveform picture of the document's current record: a caption that
// fits the width, the plot frame with the time from the shot across (the
// traces' DELAY applied: a shot recorded from half a second before it has
// its first arrivals after 0) and the traces down, numbered 1 to N, or
// placed at their offsets from the source; one wiggle line per trace on its
// baseline, cut at the frame; and on top the detector's triggers (a red
// disc where each run of triggers begins, a thin red line along the
// baseline for the run), events (red lines across the frame) and their
// onsets (green lines) while event detection is switched on. The waveform
// window, the event image and the tool's picture draw it.

#include "display/caption_fit.h"
#include "display/drawing_surface.h"
#include "display/plot_axes.h"
#include "monitor/zentrova_doc.h"

namespace zentrova {

// The colour of a trace by its component number (1 to 9; black otherwise).
Rgb TraceColour(int nComponent);

// Where the traces stand down the picture.
enum class TracePlacement {
  kByNumber,  // trace i on line i, labelled i + 1
  kByOffset,  // at its receiver's offset from the source, in metres (MASW gathers)
};

// Draws into `surface`, fitting the plot to `area` (page units); `gain`
// scales every trace, `normalize` 1 scales each trace by its own largest
// amplitude instead of the record's. The axis titles follow the axes
// ("Time (ms)" or "Time (s)", "Trace" or "Offset (m)"); whether they are
// shown stays with the axes' flags. Returns 0 when the record holds no
// traces (only the caption is drawn), 1 otherwise.
int DrawWaveforms(DrawingSurface& surface, PlotAxes& axes, const CZentrovaDoc& doc, PageSize area, float gain,
                  int normalize, TracePlacement placement = TracePlacement::kByNumber);
// The same without the caption (a picture that writes its own).
int DrawWaveformPlot(DrawingSurface& surface, PlotAxes& axes, const CZentrovaDoc& doc, PageSize area, float gain,
                     int normalize, TracePlacement placement = TracePlacement::kByNumber);

// The caption: "NAME (Number of traces = N : Number of samples = M)", its
// letters and, where needed, its name shortened to fit `width`.
FittedCaption WaveformCaption(const SeismicRecord& record, int width);

// The time axis of a record in milliseconds from the shot: from the
// earliest first sample (its DELAY) to the latest last one.
struct TimeSpan {
  double firstMs = 0.0;
  double lastMs = 0.0;
};
TimeSpan RecordTimeSpan(const SeismicRecord& record);
// Milliseconds per axis unit: 1 (the axis in ms), or 1000 (in s) for
// records longer than kSecondsAxisFrom.
double TimeAxisUnit(const TimeSpan& span);
inline constexpr double kSecondsAxisFrom = 5000.0;  // ms

// A trace's offset from its source in metres (receiver less source).
float TraceOffset(const CHeader& h);

// Trigger times drawn at most per trace, and the trace indices that have any.
inline constexpr int kMaxDrawnTriggers = 10000;
inline constexpr int kTriggerTraces = 512;
inline constexpr Pen kMarkerPen{kRed, 2};
// A run of triggers along its trace's baseline.
inline constexpr Pen kTriggerRunPen{kRed, 1};
// The onset of each event: green, where the red event line is the
// detector's test sample.
inline constexpr Rgb kOnsetGreen{0, 170, 0};
inline constexpr Pen kOnsetPen{kOnsetGreen, 2};
inline constexpr int kTracePenWidth = 2;
// Page units between a trace number's end and the frame.
inline constexpr int kTraceLabelGap = 10;
// Half the side of a trigger disc's box.
inline constexpr int kTriggerRadius = 10;

}  // namespace zentrova
