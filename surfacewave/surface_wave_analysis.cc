#include "surfacewave/surface_wave_analysis.h"

#include "surfacewave/dispersion_picks.h"
#include "surfacewave/initial_model.h"
#include "surfacewave/surface_wave_input.h"

namespace zentrova {

SurfaceWaveAnalysis AnalyseSurfaceWaves(SeismicRecord& record, DispersionSettings& settings, Settings* store,
                                        FileSystem& fs, const std::string& folder, bool imageSteps,
                                        SurfaceWaveResult& result) {
  SurfaceWaveAnalysis a;
  result.nLayers = kModelLayers;
  a.ampTraces = PrepareSurfaceWaveInput(record, result);
  if (!imageSteps) return a;
  a.image = ComputeDispersionImage(record, settings, store);
  PickDispersionCurve(record, settings, result, fs, folder);
  a.model = BuildInitialModel(result, fs, folder);
  return a;
}

}  // namespace zentrova
