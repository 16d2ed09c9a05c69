#include "surfacewave/dispersion_settings.h"

#include <string>

namespace zentrova {
namespace {

std::string WavelengthKey(int i) { return "fWavelength_" + std::to_string(i); }

}  // namespace

void DispersionSettings::Load(Settings& settings) {
  settings.LoadInt("bMedianFilter", bMedianFilter);
  settings.LoadInt("MinMaxPlot", MinMaxPlot);
  settings.LoadFloat("PV_END", fVelEnd);
  settings.LoadFloat("PV_INTERVAL", fVelStep);
  settings.LoadInt("PV_DIRECTION", nDirection);
  settings.LoadInt("bPhaseVelocityArea", bPhaseVelocityArea);
  settings.LoadFloat("PhaseVelocityArea", PhaseVelocityArea);
  settings.LoadInt("nConstantVelocityLines", nConstantVelocityLines);
  for (int i = 0; i < static_cast<int>(fWavelength.size()); ++i) settings.LoadFloat(WavelengthKey(i), fWavelength[i]);
}

void DispersionSettings::SaveExtras(Settings& settings) const {
  settings.SaveInt("bMedianFilter", bMedianFilter);
  settings.SaveInt("MinMaxPlot", MinMaxPlot);
  settings.SaveInt("bPhaseVelocityArea", bPhaseVelocityArea);
  settings.SaveFloat("PhaseVelocityArea", PhaseVelocityArea);
  settings.SaveInt("nConstantVelocityLines", nConstantVelocityLines);
  for (int i = 0; i < static_cast<int>(fWavelength.size()); ++i) settings.SaveFloat(WavelengthKey(i), fWavelength[i]);
}

}  // namespace zentrova
