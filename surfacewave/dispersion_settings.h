#pragma once
// Settings of the dispersion analysis: the frequency and phase-velocity
// range of the image and the direction of the distances, plus values that
// only the views use and that are kept here so they are stored together.

#include <array>

#include "monitor/settings.h"

namespace zentrova {

struct DispersionSettings {
  float fFreqMin = 0.0f;      // Hz
  float fFreqMax = 50.0f;     // Hz, "FREQ_END"
  float fVelMin = 0.0f;       // km/s, "PV_START"
  float fVelEnd = 0.5f;       // km/s, "PV_END"
  float fVelStep = 0.0025f;   // km/s, "PV_INTERVAL"
  int nDirection = 0;         // "PV_DIRECTION"; 0 from the first trace, 1 from the last

  // Stored only.
  int bMedianFilter = 1;
  int MinMaxPlot = 1;
  int bPhaseVelocityArea = 0;
  float PhaseVelocityArea = 100.0f;
  int nConstantVelocityLines = 0;
  std::array<float, 10> fWavelength{20.0f, 40.0f, 60.0f, 80.0f, 100.0f, 120.0f, 140.0f, 160.0f, 180.0f, 200.0f};

  // Reads every stored key; a missing or unreadable value keeps its default.
  void Load(Settings& settings);
  // Writes the stored-only values back (at the end of every image and when
  // the document goes).
  void SaveExtras(Settings& settings) const;
};

}  // namespace zentrova
