#include "concat/first_sample_time.h"

#include <cmath>

namespace zentrova {

int64_t FirstSampleMs(const RecordTimeHeader& time, const std::vector<CHeaderXY>& headers) {
  const int64_t acquisitionMs = time.tAcquisition * 1000 + time.nAcquisitionMs;
  if (headers.empty() || !std::isfinite(headers.front().fDelay)) return acquisitionMs;
  return acquisitionMs + std::llround(static_cast<double>(headers.front().fDelay) / 1000.0);
}

SecondsAndMs SplitMs(int64_t ms) {
  int64_t seconds = ms / 1000;
  if (ms % 1000 < 0) --seconds;
  return {seconds, static_cast<int>(ms - 1000 * seconds)};
}

}  // namespace zentrova
