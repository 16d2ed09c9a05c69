#include "surfacewave/surface_wave_follow_up.h"

namespace zentrova {

SurfaceWaveFollowUp::SurfaceWaveFollowUp(CZentrovaDoc& doc) : doc_(doc) { settings.Load(doc_.settings); }

SurfaceWaveFollowUp::~SurfaceWaveFollowUp() { settings.SaveExtras(doc_.settings); }

void SurfaceWaveFollowUp::Run() {
  SurfaceWaveResult result;
  // The text files go where the cycle left the current folder: the watched folder.
  lastAnalysis = AnalyseSurfaceWaves(doc_.record, settings, &doc_.settings, doc_.platform.fs,
                                     doc_.settingsBlock.strWatchedFolder, doc_.bPhaseViewDrawn == 1, result, &profiles);
  ++runs;
  lastResult = result;
  if (doc_.bProfileViewDrawn == 1) profiles.AppendResult(result);
  if (onResult) onResult(result);
}

void ConnectSurfaceWaves(CZentrovaDoc& doc, SurfaceWaveFollowUp& followUp) {
  doc.services.surfaceWaveFollowUp = [&followUp] { followUp.Run(); };
}

int UseStoredPhaseVelocityView(CZentrovaDoc& doc) {
  int flag = 0;
  doc.settings.LoadInt("bPhaseVelocityView", flag);
  flag = flag == 1 ? 1 : 0;
  doc.views.bPhaseVelocityView = flag;
  if (flag == 1) doc.bPhaseViewDrawn = 1;
  return flag;
}

int UseStoredProfileView(CZentrovaDoc& doc) {
  int flag = 0;
  doc.settings.LoadInt("bSeisProfileView", flag);
  flag = flag == 1 ? 1 : 0;
  doc.views.bSeisProfileView = flag;
  if (flag == 1) doc.bProfileViewDrawn = 1;
  return flag;
}

}  // namespace zentrova
