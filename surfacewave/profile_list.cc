#include "surfacewave/profile_list.h"

#include <algorithm>

namespace zentrova {

int ProfileList::AppendResult(const SurfaceWaveResult& result) {
  results.push_back(result);
  while (static_cast<int>(results.size()) > std::max(nMaxShots, 1)) results.pop_front();
  ModeRange& r = range[kAmplitudeMode];
  r.fAxisMin = results.front().fPosMin;
  r.fAxisMax = results.front().fPosMax;
  r.fColourMin = results.front().fLogAmpMin;
  r.fColourMax = results.front().fLogAmpMax;
  for (const SurfaceWaveResult& e : results) {
    r.fAxisMin = std::min(r.fAxisMin, e.fPosMin);
    r.fAxisMax = std::max(r.fAxisMax, e.fPosMax);
    r.fColourMin = std::min(r.fColourMin, e.fLogAmpMin);
    r.fColourMax = std::max(r.fColourMax, e.fLogAmpMax);
  }
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
