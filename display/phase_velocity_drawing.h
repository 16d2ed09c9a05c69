#pragma once
// The phase-velocity picture: the dispersion image of the record's
// analysis working set in colours, phase velocity to the right and
// frequency downward, the frame over it and the picked curve as red discs.

#include "display/colour_scale.h"
#include "display/drawing_parameter.h"
#include "display/drawing_surface.h"
#include "display/plot_axes.h"
#include "monitor/zentrova_doc.h"
#include "records/seismic_record.h"
#include "surfacewave/dispersion_settings.h"

namespace zentrova {

// The view's axes as it creates them: titles "Phase velocity (m/sec)" and
// "Frequency (Hz)", both shown, frequency growing downward.
PlotAxes PhaseVelocityAxes();

// The image of the working set, one pixel per velocity column and image
// row, row 0 (the lowest frequency) on top, each value divided by its row's
// peak and coloured by `scale`; window background where a row is short.
// Empty (0 x 0) before the first analysis.
RgbImage DispersionPicture(const SeismicRecord& record, const ColourScale& scale);

// Caption, image, frame and picks of `record` onto `surface`. `axes` keeps
// its titles; ranges, scales and ticks are set here.
void DrawPhaseVelocity(DrawingSurface& surface, PlotAxes& axes, const SeismicRecord& record,
                       const DispersionSettings& settings, const CDrawingParameter& dp);

// The view's redraw: holds the document's lock (the monitor thread writes
// the working set), sets doc.bPhaseViewDrawn to 1 and draws the document's
// record with its page layout.
void DrawPhaseVelocityView(DrawingSurface& surface, PlotAxes& axes, CZentrovaDoc& doc,
                           const DispersionSettings& settings);

// Radius of a pick disc, page units.
inline constexpr int kPickRadius = 10;
// Page units from the frame's left edge to the vertical title.
inline constexpr int kVelocityTitleOffset = 110;

}  // namespace zentrova
