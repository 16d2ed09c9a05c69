#pragma once
// The dispersion analysis of records as the record tool prints it: one
// shot, or several shots of one line with their combined curve.

#include <string>
#include <vector>

#include "surfacewave/combined_curve.h"
#include "surfacewave/surface_wave_analysis.h"

namespace zentrova {

// One analysed record.
struct ShotReport {
  std::string file;
  DispersionSettings settings;
  SurfaceWaveAnalysis analysis;
  SurfaceWaveResult result;
  double sampleInterval = 0.0;  // s, of the first trace
  int traces = 0;               // of the record (the analysis takes the first kDispTraces)
};

// Why an analysis gave no image rows.
std::string NoImageReason(const DispersionImageInfo& image);

// One JSON object: {"file", "units", "traces_used", "direction",
// "direction_from", "spread", "window", "traces", "rows", "columns",
// "frequency_step", "velocity_min", "velocity_step", "velocity_max",
// "picks": [{"frequency", "velocity", "value", "picked", "resolved",
// "wavelength"}...], "layers": [{"top", "bottom", "vs"}...]}.
std::string ShotJson(const ShotReport& shot);
// {"units", "shots": [ShotJson...], "combined": [{"frequency", "velocity",
// "std", "count"}...]}.
std::string LineJson(const std::vector<ShotReport>& shots, const std::vector<CombinedPoint>& combined);

// The same for a reader, one pick and one layer a line.
std::string ShotText(const ShotReport& shot);
std::string CombinedText(size_t shots, const std::vector<CombinedPoint>& combined);

}  // namespace zentrova
