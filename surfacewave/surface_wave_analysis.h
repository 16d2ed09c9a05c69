#pragma once
// The whole analysis of one record, step after step: the amplitude
// profile, the dispersion image, the picks and the initial model, with the
// two text files written into one folder.

#include <string>

#include "platform/file_system.h"
#include "records/seismic_record.h"
#include "surfacewave/dispersion_curve.h"
#include "surfacewave/dispersion_image.h"
#include "surfacewave/dispersion_settings.h"
#include "surfacewave/profile_list.h"
#include "surfacewave/surface_wave_result.h"

namespace zentrova {

// Layers of the model the monitor cycle asks for.
inline constexpr int kModelLayers = 15;

struct SurfaceWaveAnalysis {
  int ampTraces = 0;  // PrepareSurfaceWaveInput
  DispersionImageInfo image;
  DispersionCurve curve;  // PickDispersionCurve
  int model = 0;  // BuildInitialModel: 1 a model, 0 no accepted pick
};

// PrepareSurfaceWaveInput always; with imageSteps also the image, the picks
// and the model from the resolved picks (the stored-only settings written
// back through `store` when one is given; the two text files written into
// `folder` unless it is empty). `result` is filled; its nLayers is set to 15. With
// `profiles`, the picks set its range of mode 1 and the model that of mode 2.
SurfaceWaveAnalysis AnalyseSurfaceWaves(SeismicRecord& record, DispersionSettings& settings, Settings* store,
                                        FileSystem& fs, const std::string& folder, bool imageSteps,
                                        SurfaceWaveResult& result, ProfileList* profiles = nullptr);

}  // namespace zentrova
