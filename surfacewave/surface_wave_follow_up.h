#pragma once
// The surface-wave follow-up of a monitor cycle that read samples: the
// amplitude profile of the last record always, and, once the phase-velocity
// view has drawn, the dispersion image, the picks and the S-wave model with
// their two text files in the watched folder.
//
// A station without a display has no view to draw; there the stored view
// flag "bPhaseVelocityView" stands for the open view: while it is 1 the
// cycle reads samples and the image steps run as if the view had drawn.
// In the same way the stored "bSeisProfileView" stands for the drawn
// profile view: while it is 1 every analysed record joins the profile list.

#include <functional>

#include "monitor/zentrova_doc.h"
#include "surfacewave/dispersion_settings.h"
#include "surfacewave/profile_list.h"
#include "surfacewave/surface_wave_analysis.h"
#include "surfacewave/surface_wave_result.h"

namespace zentrova {

class SurfaceWaveFollowUp {
 public:
  // Reads the dispersion settings from the document's profile.
  explicit SurfaceWaveFollowUp(CZentrovaDoc& doc);
  // Writes the stored-only dispersion settings back.
  ~SurfaceWaveFollowUp();
  SurfaceWaveFollowUp(const SurfaceWaveFollowUp&) = delete;
  SurfaceWaveFollowUp& operator=(const SurfaceWaveFollowUp&) = delete;

  // One follow-up on the document's record (the caller holds its lock).
  void Run();

  DispersionSettings settings;
  // The last follow-up's results, kept for the profile view.
  SurfaceWaveResult lastResult;
  SurfaceWaveAnalysis lastAnalysis;
  // The analysed records for the profile view: each follow-up appends its
  // result while the document's bProfileViewDrawn is 1. Read it under the
  // document's lock.
  ProfileList profiles;
  int runs = 0;
  // After the steps, with this cycle's result: the database upload hangs here.
  std::function<void(SurfaceWaveResult&)> onResult;

 private:
  CZentrovaDoc& doc_;
};

// Makes the document call `followUp` in its cycles.
void ConnectSurfaceWaves(CZentrovaDoc& doc, SurfaceWaveFollowUp& followUp);

// The headless station's stand-in for the phase-velocity view: reads the
// stored "bPhaseVelocityView"; while it is 1 the view counts as open and
// drawn. Returns the flag.
int UseStoredPhaseVelocityView(CZentrovaDoc& doc);

// The same for the profile view: reads the stored "bSeisProfileView"; while
// it is 1 the view counts as open and drawn. Returns the flag.
int UseStoredProfileView(CZentrovaDoc& doc);

}  // namespace zentrova
