#pragma once
// The dispersion analysis of a record as the record tool prints it.

#include <string>

#include "surfacewave/surface_wave_analysis.h"

namespace zentrova {

// {"traces_used", "direction", "rows", "columns", "frequency_step",
//  "velocity_step", "picks": [{"frequency", "velocity", "value"}...],
//  "layers": [{"top", "bottom", "vs"}...]} and a line feed.
std::string DispersionJson(const SeismicRecord& record, const DispersionSettings& settings,
                           const SurfaceWaveAnalysis& analysis, const SurfaceWaveResult& result);
// The same for a reader, one pick and one layer a line.
std::string DispersionText(const std::string& path, const SeismicRecord& record, const DispersionSettings& settings,
                           const SurfaceWaveAnalysis& analysis, const SurfaceWaveResult& result,
                           const std::string& folder);

}  // namespace zentrova
