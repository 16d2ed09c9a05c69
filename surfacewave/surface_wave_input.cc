#include "surfacewave/surface_wave_input.h"

#include <algorithm>
#include <cmath>

namespace zentrova {

int PrepareSurfaceWaveInput(const SeismicRecord& record, SurfaceWaveResult& result) {
  const int n = std::clamp(std::min<int>(record.nTraces, static_cast<int>(record.pHeader.size())), 0, kMaxAmpTraces);
  result.nAmpTraces = n;
  if (n == 0) return 0;
  result.fLogAmpMin = result.fLogAmpMax = kNoLogAmplitude;
  for (int i = 0; i < n; ++i) {
    const CHeader& h = record.pHeader[i];
    const float logAmp = static_cast<float>(std::log10(h.fMaxAmplitude));
    const float pos = static_cast<float>(h.nReceiverLoc) / 100.0f;
    result.fLogAmplitude[i] = logAmp;
    result.fPosition[i] = pos;
    if (i == 0) {
      result.fPosMin = result.fPosMax = pos;
    } else {
      result.fPosMin = std::min(result.fPosMin, pos);
      result.fPosMax = std::max(result.fPosMax, pos);
    }
    if (!HasLogAmplitude(logAmp)) continue;  // a silent trace: log10(0) is -inf
    if (!HasLogAmplitude(result.fLogAmpMin)) {
      result.fLogAmpMin = result.fLogAmpMax = logAmp;
    } else {
      result.fLogAmpMin = std::min(result.fLogAmpMin, logAmp);
      result.fLogAmpMax = std::max(result.fLogAmpMax, logAmp);
    }
  }
  return n;
}

}  // namespace zentrova
