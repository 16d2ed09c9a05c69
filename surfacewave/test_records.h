#pragma once
// Records for the tests of the analysis, built in memory.

#include <functional>

#include "records/seismic_record.h"

namespace zentrova::testing {

struct LineShot {
  int traces = 24;
  int samples = 1024;
  float intervalUs = 250.0f;  // sample interval
  float spacing = 1.0f;       // m between receivers
  float firstOffset = 5.0f;   // m from the source to the first receiver
  bool fromLastEnd = false;   // the source lies beyond the last receiver
  float delayUs = 0.0f;       // DELAY: the first sample's time after the shot
  bool sourceLocation = true;  // the traces carry the source location (else receivers from 0, source 0)
};

// A record of the shot's layout whose trace i holds wave(i, distance from
// the source in m, time after the shot in s) at every sample; the headers
// carry the locations, the interval, the delay and each trace's peak.
void FillShot(SeismicRecord& record, const LineShot& shot, const std::function<float(int, double, double)>& wave);

// A dispersive wavetrain: one cosine per frequency 2, 3, ... 60 Hz, each
// travelling with velocity(f) m/s and fading with distance.
float DispersiveWave(double distance, double time, const std::function<double(double)>& velocity);

}  // namespace zentrova::testing
