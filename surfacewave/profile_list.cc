#include "surfacewave/profile_list.h"

#include <algorithm>

namespace zentrova {

int ProfileList::AppendResult(const SurfaceWaveResult& result) {
  results.push_back(result);
  while (static_cast<int>(results.size()) > std::max(nMaxShots, 1)) results.pop_front();
  ModeRange& r = range[kAmplitudeMode];
  r.fAxisMin = results.front().fPosMin;
  r.fAxisMax = results.front().fPosMax;
  for (const SurfaceWaveResult& e : results) {
    r.fAxisMin = std::min(r.fAxisMin, e.fPosMin);
    r.fAxisMax = std::max(r.fAxisMax, e.fPosMax);
  }
  // The colours spread over the log amplitudes there are: a record whose
  // traces are all silent has none.
  bool coloured = false;
  for (const SurfaceWaveResult& e : results) {
    if (!HasLogAmplitude(e.fLogAmpMin) || !HasLogAmplitude(e.fLogAmpMax)) continue;
    r.fColourMin = coloured ? std::min(r.fColourMin, e.fLogAmpMin) : e.fLogAmpMin;
    r.fColourMax = coloured ? std::max(r.fColourMax, e.fLogAmpMax) : e.fLogAmpMax;
    coloured = true;
  }
  if (!coloured) r.fColourMin = r.fColourMax = 0.0f;
  return Count();
}

void ProfileList::SetPickRange(const DispersionSettings& settings) {
  range[kPhaseVelocityMode] = {settings.fFreqMin, settings.fFreqMax, settings.fVelMin * 1000.0f,
                               settings.fVelEnd * 1000.0f};
}

void ProfileList::SetModelRange(const DispersionSettings& settings) {
  range[kShearVelocityMode] = {0.0f, kModelDepthScale, settings.fVelMin * 1000.0f, settings.fVelEnd * 1000.0f};
}

}  // namespace zentrova
