#include "tools/seg2_tool/dispersion_report.h"

#include "platform/printf.h"

namespace zentrova {
namespace {

double RowStep(const SurfaceWaveAnalysis& a) { return a.image.frequencyStep * a.image.binStep; }

// The value of the pick of row r: the row's largest value.
float PickValue(const SeismicRecord& record, int r) { return record.fDispRowMax[r]; }

float LayerTop(const SurfaceWaveResult& result, int i) { return i == 0 ? 0.0f : result.fLayerBottom[i - 1]; }

}  // namespace

std::string DispersionJson(const SeismicRecord& record, const DispersionSettings& settings,
                           const SurfaceWaveAnalysis& a, const SurfaceWaveResult& result) {
  std::string out = Printf("{\"traces_used\": %d, \"direction\": %d, \"rows\": %d, \"columns\": %d, "
                           "\"frequency_step\": %.9g, \"velocity_step\": %.9g, \"picks\": [",
                           a.image.tracesUsed, settings.nDirection, a.image.rows, a.image.columns, RowStep(a),
                           static_cast<double>(settings.fVelStep * 1000.0f));
  for (int r = 0; r < result.nPicks; ++r) {
    out += Printf("%s{\"frequency\": %.9g, \"velocity\": %.9g, \"value\": %.9g}", r ? ", " : "",
                  static_cast<double>(result.fPickFrequency[r]), static_cast<double>(result.fPickVelocity[r]),
                  static_cast<double>(PickValue(record, r)));
  }
  out += "], \"layers\": [";
  for (int i = 0; i < result.nLayers; ++i) {
    out += Printf("%s{\"top\": %.9g, \"bottom\": %.9g, \"vs\": %.9g}", i ? ", " : "",
                  static_cast<double>(LayerTop(result, i)), static_cast<double>(result.fLayerBottom[i]),
                  static_cast<double>(result.fVs[i]));
  }
  out += "]}\n";
  return out;
}

std::string DispersionText(const std::string& path, const SeismicRecord& record, const DispersionSettings& settings,
                           const SurfaceWaveAnalysis& a, const SurfaceWaveResult& result, const std::string& folder) {
  std::string out = Printf("%s: %d traces used, distances from the %s trace\n", path.c_str(), a.image.tracesUsed,
                           settings.nDirection == 0 ? "first" : "last");
  out += Printf("image: %d rows every %.4f Hz, %d columns every %.4f m/s\n", a.image.rows, RowStep(a),
                a.image.columns, static_cast<double>(settings.fVelStep * 1000.0f));
  out += "picks (Hz, m/s, value):\n";
  for (int r = 0; r < result.nPicks; ++r) {
    out += Printf("  %8.2f %8.1f %8.4f\n", static_cast<double>(result.fPickFrequency[r]),
                  static_cast<double>(result.fPickVelocity[r]),
                  static_cast<double>(PickValue(record, r)));
  }
  out += a.model ? "layers (top m, bottom m, Vs m/s):\n" : "no pick fits the model (wavelength 2 to 46 m, 4.5 Hz or more); layers:\n";
  for (int i = 0; i < result.nLayers; ++i) {
    const bool halfSpace = i == result.nLayers - 1;
    out += halfSpace ? Printf("  %8.3f half-space %8.1f\n", static_cast<double>(LayerTop(result, i)),
                              static_cast<double>(result.fVs[i]))
                     : Printf("  %8.3f %8.3f %8.1f\n", static_cast<double>(LayerTop(result, i)),
                              static_cast<double>(result.fLayerBottom[i]), static_cast<double>(result.fVs[i]));
  }
  out += "files: " + folder + "\n";
  return out;
}

}  // namespace zentrova
