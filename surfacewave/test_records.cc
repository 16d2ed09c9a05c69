#include "surfacewave/test_records.h"

#include <cmath>
#include <numbers>

namespace zentrova::testing {

void FillShot(SeismicRecord& record, const LineShot& shot, const std::function<float(int, double, double)>& wave) {
  record.AllocateTraces(shot.traces);
  record.nTraces = shot.traces;
  for (int i = 0; i < shot.traces; ++i) {
    CHeader& h = record.pHeader[i];
    const double along = static_cast<double>(i) * shot.spacing;
    const double end = static_cast<double>(shot.traces - 1) * shot.spacing;
    const double receiver = shot.fromLastEnd ? along : shot.firstOffset + along;
    const double source = shot.fromLastEnd ? end + shot.firstOffset : 0.0;
    const double distance = std::fabs(receiver - source);
    h.nTrace = i + 1;
    // Without a source location the receivers are numbered from 0 along the
    // line and the source location stays 0: at the first receiver, inside.
    h.nReceiverLoc = EncodeLocation(static_cast<float>(shot.sourceLocation ? receiver : along));
    h.nSourceLoc = shot.sourceLocation ? EncodeLocation(static_cast<float>(source)) : 0;
    h.bSourceLocation = shot.sourceLocation ? 1 : 0;
    h.fSampleInterval = shot.intervalUs;
    h.fDelay = shot.delayUs;
    h.nSamples = shot.samples;
    std::vector<float>& data = record.ppData[i];
    data.assign(shot.samples, 0.0f);
    for (int t = 0; t < shot.samples; ++t) {
      data[t] = wave(i, distance, (static_cast<double>(t) * shot.intervalUs + shot.delayUs) * 1e-6);
    }
    h.fMaxAmplitude = PeakAmplitude(data.data(), data.size());
  }
  record.ComputeSummaryFromTracePeaks();
}

float DispersiveWave(double distance, double time, const std::function<double(double)>& velocity) {
  double sum = 0.0;
  for (int f = 2; f <= 60; ++f) {
    const double phase = 2.0 * std::numbers::pi * f * (time - 0.05 - distance / velocity(f));
    sum += std::cos(phase + 0.3 * f);
  }
  return static_cast<float>(sum / std::sqrt(distance));
}

}  // namespace zentrova::testing
