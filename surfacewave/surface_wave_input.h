#pragma once
// The amplitude profile of a record: log10 of each trace's peak and its
// receiver position, with their extremes.

#include "records/seismic_record.h"
#include "surfacewave/surface_wave_result.h"

namespace zentrova {

// A trace whose samples are all zero (or whose peak is not a number) has
// no log amplitude (its fLogAmplitude is not finite) and takes no part in
// fLogAmpMin and fLogAmpMax, which are kNoLogAmplitude when no trace has
// one. Returns the number of traces used (at most 512; 0 for an empty
// record, which leaves the extremes at 0).
int PrepareSurfaceWaveInput(const SeismicRecord& record, SurfaceWaveResult& result);

}  // namespace zentrova
