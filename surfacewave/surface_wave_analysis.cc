#include "surfacewave/surface_wave_analysis.h"

#include "surfacewave/dispersion_picks.h"
#include "surfacewave/initial_model.h"
#include "surfacewave/surface_wave_input.h"

namespace zentrova {

SurfaceWaveAnalysis AnalyseSurfaceWaves(SeismicRecord& record, DispersionSettings& settings, Settings* store,
                                        FileSystem& fs, const std::string& folder, bool imageSteps,
                                        SurfaceWaveResult& result, ProfileList* profiles) {
  SurfaceWaveAnalysis a;
  result.nLayers = kModelLayers;
  a.ampTraces = PrepareSurfaceWaveInput(record, result);
  if (!imageSteps) return a;
  a.image = ComputeDispersionImage(record, settings, store);
  a.curve = PickDispersionCurve(record, settings, a.image, result, fs, folder);
  if (profiles) profiles->SetPickRange(settings);
  a.model = BuildInitialModel(result, fs, folder, &a.curve);
  if (profiles) profiles->SetModelRange(settings);
  return a;
}

}  // namespace zentrova
