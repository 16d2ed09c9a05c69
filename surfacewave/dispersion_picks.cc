#include "surfacewave/dispersion_picks.h"

#include <algorithm>
#include <cmath>

#include "platform/printf.h"
#include "surfacewave/text_file.h"

namespace zentrova {

int PickDispersionCurve(SeismicRecord& record, const DispersionSettings& settings, SurfaceWaveResult& result,
                        FileSystem& fs, const std::string& folder) {
  const int rows = std::clamp(record.nDispRows, 0, std::min<int>(kMaxPicks, static_cast<int>(record.pDispHeader.size())));
  std::string text;
  for (int r = 0; r < rows; ++r) {
    const CHeader& h = record.pDispHeader[r];
    const std::vector<float>& row = record.ppDispImage[r];
    const int columns = std::clamp(h.nSamples, 0, static_cast<int>(row.size()));
    int best = 0;
    float bestValue = 0.0f;
    for (int k = 0; k < columns; ++k) {
      if (std::fabs(row[k]) > bestValue) {  // the first of equal values stays
        bestValue = std::fabs(row[k]);
        best = k;
      }
    }
    const float velocity = settings.fVelMin * 1000.0f + static_cast<float>(best) * h.fSampleInterval / 1000.0f;
    const float frequency = static_cast<float>(h.nReceiverLoc) / 100.0f;
    result.fPickFrequency[r] = frequency;
    result.fPickVelocity[r] = velocity;
    record.fPickFreq[r] = frequency;
    record.fPickVel[r] = velocity;
    text += Printf("%d %f %f %f \r\n", r, frequency, velocity, bestValue);
  }
  result.nPicks = rows;
  ReplaceTextFile(fs, folder + fs.Separator() + kPickFileName, text);
  return rows;
}

}  // namespace zentrova
