#include "surfacewave/dispersion_settings.h"

#include <string>

namespace zentrova {
namespace {

std::string WavelengthKey(int i) { return "fWavelength_" + std::to_string(i); }

}  // namespace

void DispersionSettings::Load(Settings& settings) {
  settings.LoadInt("bMedianFilter", bMedianFilter);
  settings.LoadInt("MinMaxPlot", MinMaxPlot);
  settings.LoadFloat("PV_START", fVelMin);
  settings.LoadFloat("PV_END", fVelEnd);
  settings.LoadFloat("PV_INTERVAL", fVelStep);
  settings.LoadInt("PV_DIRECTION", nDirection);
  settings.LoadFloat("FREQ_END", fFreqMax);
  settings.LoadInt("bPhaseVelocityArea", bPhaseVelocityArea);
  settings.LoadFloat("PhaseVelocityArea", PhaseVelocityArea);
  settings.LoadInt("nConstantVelocityLines", nConstantVelocityLines);
  for (int i = 0; i < static_cast<int>(fWavelength.size()); ++i) settings.LoadFloat(WavelengthKey(i), fWavelength[i]);
}

void DispersionSettings::SaveExtras(Settings& settings) const {
  KeyValueStore::Entries entries = {{"bMedianFilter", Settings::IntText(bMedianFilter)},
                                    {"MinMaxPlot", Settings::IntText(MinMaxPlot)},
                                    {"bPhaseVelocityArea", Settings::IntText(bPhaseVelocityArea)},
                                    {"PhaseVelocityArea", FormatStoredFloat(PhaseVelocityArea)},
                                    {"nConstantVelocityLines", Settings::IntText(nConstantVelocityLines)}};
  for (int i = 0; i < static_cast<int>(fWavelength.size()); ++i) {
    entries.emplace_back(WavelengthKey(i), FormatStoredFloat(fWavelength[i]));
  }
  settings.SaveAll(entries);  // one write of the file for all of them
}

}  // namespace zentrova
