#pragma once
// The dispersion image of the record (frequency rows against phase-velocity
// columns), computed into the record's analysis working set.

#include "monitor/settings.h"
#include "records/seismic_record.h"
#include "surfacewave/dispersion_settings.h"

namespace zentrova {

// The working set holds this many traces, image rows and samples per trace.
inline constexpr int kDispTraces = 256;
inline constexpr int kDispRows = 256;
inline constexpr int kDispSamples = 4096;
inline constexpr int kDispColumns = 4096;

struct DispersionImageInfo {
  int tracesUsed = 0;       // U: traces with signal within reach
  int transformLength = 0;  // N
  double frequencyStep = 0.0;  // df of the transform, Hz
  int binStep = 1;          // w
  int rows = 0;             // R = nDispRows
  int columns = 0;          // V
};

// Fills the working set of `record`: the row headers, the image and each
// row's peak; sets settings.nDirection from the louder end. The stored-only
// settings are written back through `store` when one is given. A record
// without traces, or without a trace with signal, leaves no image rows.
DispersionImageInfo ComputeDispersionImage(SeismicRecord& record, DispersionSettings& settings, Settings* store);

}  // namespace zentrova
