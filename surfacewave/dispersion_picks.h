#pragma once
// The dispersion curve: one phase velocity per image row, the column of
// the row's largest value.

#include <string>

#include "platform/file_system.h"
#include "records/seismic_record.h"
#include "surfacewave/dispersion_settings.h"
#include "surfacewave/surface_wave_result.h"

namespace zentrova {

inline constexpr const char* kPickFileName = "PickPhaseVelocity.txt";

// Picks every row of the record's image into `result` and into the
// record's fPickVel / fPickFreq, and writes "PickPhaseVelocity.txt" into
// `folder` (one "%d %f %f %f " line per row: row, Hz, m/s, value). Returns
// the number of picks.
int PickDispersionCurve(SeismicRecord& record, const DispersionSettings& settings, SurfaceWaveResult& result,
                        FileSystem& fs, const std::string& folder);

}  // namespace zentrova
