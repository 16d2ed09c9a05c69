#pragma once
// The waveform picture of the document's current record: a caption, the
// plot frame with time across and the channels down, one wiggle line per
// trace on its channel's baseline, and on top the detector's triggers (red
// discs on the baselines), events (red lines across the frame) and their
// onsets (green lines) while event detection is switched on. The waveform
// window and the event image both draw it.

#include "display/drawing_surface.h"
#include "display/plot_axes.h"
#include "monitor/zentrova_doc.h"

namespace zentrova {

// The colour of a trace by its component number (1 to 9; black otherwise).
Rgb TraceColour(int nComponent);

// Draws into `surface`, fitting the plot to `area` (page units); `gain`
// scales every trace, `normalize` 1 scales each trace by its own largest
// amplitude instead of the record's. Returns 0 when the record holds no
// traces (only the caption is drawn), 1 otherwise.
int DrawWaveforms(DrawingSurface& surface, PlotAxes& axes, const CZentrovaDoc& doc, PageSize area, float gain,
                  int normalize);
// The same without the caption (a picture that writes its own).
int DrawWaveformPlot(DrawingSurface& surface, PlotAxes& axes, const CZentrovaDoc& doc, PageSize area, float gain,
                     int normalize);

// Trigger times drawn at most per trace, and the trace indices that have any.
inline constexpr int kMaxDrawnTriggers = 10000;
inline constexpr int kTriggerTraces = 512;
inline constexpr Pen kMarkerPen{kRed, 2};
// The onset of each event: green, where the red event line is the
// detector's test sample.
inline constexpr Rgb kOnsetGreen{0, 170, 0};
inline constexpr Pen kOnsetPen{kOnsetGreen, 2};
inline constexpr int kTracePenWidth = 2;
// Half the side of a trigger disc's box.
inline constexpr int kTriggerRadius = 10;

}  // namespace zentrova
