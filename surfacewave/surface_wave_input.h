#pragma once
// The amplitude profile of a record: log10 of each trace's peak and its
// receiver position, with their extremes.

#include "records/seismic_record.h"
#include "surfacewave/surface_wave_result.h"

namespace zentrova {

// Returns the number of traces used (at most 512; 0 for an empty record,
// which leaves the extremes at 0).
int PrepareSurfaceWaveInput(const SeismicRecord& record, SurfaceWaveResult& result);

}  // namespace zentrova
