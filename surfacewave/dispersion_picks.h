#pragma once
// The dispersion curve: one phase velocity per image row, the column of
// the row's largest value among the velocities the spread resolves.

#include <string>

#include "platform/file_system.h"
#include "records/seismic_record.h"
#include "surfacewave/dispersion_curve.h"
#include "surfacewave/dispersion_image.h"
#include "surfacewave/dispersion_settings.h"
#include "surfacewave/surface_wave_result.h"

namespace zentrova {

inline constexpr const char* kPickFileName = "PickPhaseVelocity.txt";

// Picks every row of the record's image (see PickRow) into `result` and into
// the record's fPickVel / fPickFreq / bPickResolved, and, when `folder` is
// not empty, writes "PickPhaseVelocity.txt" there (one "%d %f %f %f " line
// per row: row, Hz, m/s, value). A row without a pick has velocity 0 and
// the row's largest value. Returns the curve, one point per row.
DispersionCurve PickDispersionCurve(SeismicRecord& record, const DispersionSettings& settings,
                                    const DispersionImageInfo& image, SurfaceWaveResult& result, FileSystem& fs,
                                    const std::string& folder);

}  // namespace zentrova
