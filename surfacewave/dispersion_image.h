#pragma once
// The dispersion image of the record (frequency rows against phase-velocity
// columns), computed into the record's analysis working set.

#include "monitor/settings.h"
#include "records/seismic_record.h"
#include "surfacewave/dispersion_settings.h"
#include "surfacewave/shot_window.h"
#include "surfacewave/spread_geometry.h"

namespace zentrova {

// The analysis takes this many traces; the working set holds this many
// image rows and columns.
inline constexpr int kDispTraces = 256;
inline constexpr int kDispRows = 256;
inline constexpr int kDispColumns = 4096;

struct DispersionImageInfo {
  int tracesUsed = 0;       // U: traces with signal within reach
  int transformLength = 0;  // N
  double frequencyStep = 0.0;  // df of the transform, Hz
  int binStep = 1;          // w
  int rows = 0;             // R = nDispRows
  int columns = 0;          // V
  ShotWindow window;        // the samples transformed
  SpreadGeometry spread;    // of the traces used
};

// Fills the working set of `record`: the row headers, the image and each
// row's peak, from the samples of the shot window of its first 256 traces;
// the traces themselves stay as they are. Sets settings.nDirection to the
// source end (see MeasureSpread). The stored-only settings are written back
// through `store` when one is given. A record without traces, or without a
// trace with signal in the window, leaves no image rows.
DispersionImageInfo ComputeDispersionImage(SeismicRecord& record, DispersionSettings& settings, Settings* store);

}  // namespace zentrova
