#include "tools/seg2_tool/dispersion_report.h"

#include <algorithm>

#include "platform/printf.h"
#include "platform/json_text.h"

namespace zentrova {
namespace {

constexpr const char* kUnits =
    "{\"frequency\": \"Hz\", \"velocity\": \"m/s\", \"wavelength\": \"m\", \"distance\": \"m\", \"time\": \"s\"}";

double RowStep(const SurfaceWaveAnalysis& a) { return a.image.frequencyStep * a.image.binStep; }

float LayerTop(const SurfaceWaveResult& result, int i) { return i == 0 ? 0.0f : result.fLayerBottom[i - 1]; }

const char* DirectionFrom(const SurfaceWaveAnalysis& a) {
  return a.image.spread.fromSource ? "source location" : "louder end";
}

std::string WindowJson(const ShotReport& s) {
  const ShotWindow& w = s.analysis.image.window;
  return Printf("{\"first_sample\": %d, \"samples\": %d, \"start\": %s, \"duration\": %s, "
                "\"left_out_before\": %d, \"left_out_after\": %d}",
                w.first, w.samples, JsonNumber(w.first * s.sampleInterval).c_str(),
                JsonNumber(w.samples * s.sampleInterval).c_str(), w.skippedBefore, w.leftAfter);
}

std::string PickJson(const CurvePoint& p) {
  std::string out = "{\"frequency\": " + JsonNumber(p.frequency) + ", \"velocity\": " + JsonNumber(p.velocity) +
                    ", \"value\": " + JsonNumber(p.value) + ", \"picked\": " + JsonFlag(p.picked) +
                    ", \"resolved\": " + JsonFlag(p.resolved);
  if (p.picked && p.frequency > 0.0) out += ", \"wavelength\": " + JsonNumber(p.velocity / p.frequency);
  return out + "}";
}

double LastVelocity(const ShotReport& s) {
  return static_cast<double>(s.settings.fVelMin * 1000.0f) +
         std::max(s.analysis.image.columns - 1, 0) * static_cast<double>(s.settings.fVelStep * 1000.0f);
}

// What the analysis could not take as asked, for a reader; empty when nothing.
std::string Limits(const ShotReport& s) {
  std::string out;
  if (s.traces > kDispTraces) out += Printf("only the first %d of the record's %d traces are analysed\n", kDispTraces, s.traces);
  if (s.analysis.image.columns == kDispColumns) {
    out += Printf("the image stops at %d columns: velocities up to %.4f m/s\n", kDispColumns, LastVelocity(s));
  }
  if (!(s.analysis.image.spread.smallestSpacing > 0.0)) out += "the traces used lie at one place: no spread, no pick\n";
  return out;
}

// What of the record the window left out, for a reader; empty when nothing.
std::string LeftOut(const ShotWindow& w) {
  if (w.skippedBefore == 0 && w.leftAfter == 0) return "";
  std::string out = "samples left out:";
  if (w.skippedBefore > 0) out += Printf(" %d before the shot (time zero)", w.skippedBefore);
  if (w.skippedBefore > 0 && w.leftAfter > 0) out += ",";
  if (w.leftAfter > 0) out += Printf(" %d after the first %d from the shot", w.leftAfter, kShotWindowSamples);
  return out + "\n";
}

}  // namespace

std::string NoImageReason(const DispersionImageInfo& image) {
  if (image.window.samples == 0 && image.window.skippedBefore > 0) return "no sample after the shot (time zero)";
  if (image.window.samples == 0) return "the traces hold no sample";
  if (!(image.frequencyStep > 0.0)) return "the sample interval of the first trace is not a positive number";
  if (image.tracesUsed == 0) return "no trace with signal within 100000 m of the source";
  return "the velocity or frequency range is empty";
}

std::string ShotJson(const ShotReport& s) {
  const SurfaceWaveAnalysis& a = s.analysis;
  std::string out = "{\"file\": " + JsonText(s.file) + ", \"units\": " + kUnits;
  out += Printf(", \"traces_used\": %d, \"direction\": %d, \"direction_from\": \"%s\"", a.image.tracesUsed,
                s.settings.nDirection, DirectionFrom(a));
  out += ", \"spread\": {\"smallest_spacing\": " + JsonNumber(a.image.spread.smallestSpacing) +
         ", \"length\": " + JsonNumber(a.image.spread.length) + "}";
  out += ", \"window\": " + WindowJson(s);
  out += Printf(", \"traces\": %d, \"rows\": %d, \"columns\": %d", s.traces, a.image.rows, a.image.columns);
  out += ", \"frequency_step\": " + JsonNumber(RowStep(a)) +
         ", \"velocity_min\": " + JsonNumber(static_cast<double>(s.settings.fVelMin * 1000.0f)) +
         ", \"velocity_step\": " + JsonNumber(static_cast<double>(s.settings.fVelStep * 1000.0f)) +
         ", \"velocity_max\": " + JsonNumber(LastVelocity(s)) + ", \"picks\": [";
  for (size_t r = 0; r < a.curve.size(); ++r) out += (r ? ", " : "") + PickJson(a.curve[r]);
  out += "], \"layers\": [";
  for (int i = 0; i < s.result.nLayers; ++i) {
    out += Printf("%s{\"top\": %.9g, \"bottom\": %.9g, \"vs\": %.9g}", i ? ", " : "",
                  static_cast<double>(LayerTop(s.result, i)), static_cast<double>(s.result.fLayerBottom[i]),
                  static_cast<double>(s.result.fVs[i]));
  }
  return out + "]}";
}

std::string LineJson(const std::vector<ShotReport>& shots, const std::vector<CombinedPoint>& combined) {
  std::string out = std::string("{\"units\": ") + kUnits + ", \"shots\": [";
  for (size_t i = 0; i < shots.size(); ++i) out += (i ? ",\n  " : "\n  ") + ShotJson(shots[i]);
  out += "],\n \"combined\": [";
  for (size_t i = 0; i < combined.size(); ++i) {
    const CombinedPoint& p = combined[i];
    out += std::string(i ? ", " : "") + "{\"frequency\": " + JsonNumber(p.frequency) +
           ", \"velocity\": " + JsonNumber(p.velocity) + ", \"std\": " + JsonNumber(p.std) +
           ", \"count\": " + std::to_string(p.count) + "}";
  }
  return out + "]}";
}

std::string ShotText(const ShotReport& s) {
  const SurfaceWaveAnalysis& a = s.analysis;
  const SpreadGeometry& g = a.image.spread;
  std::string out = Printf("%s: %d traces used, distances from the %s trace (the %s)\n", s.file.c_str(),
                           a.image.tracesUsed, s.settings.nDirection == 0 ? "first" : "last", DirectionFrom(a));
  out += Printf("spread: %.2f m long, receivers at least %.2f m apart: resolved wavelengths %.2f to %.2f m\n",
                g.length, g.smallestSpacing, g.smallestSpacing, g.length);
  out += LeftOut(a.image.window);
  out += Limits(s);
  out += Printf("image: %d rows every %.4f Hz, %d columns every %.4f m/s from %.4f m/s\n", a.image.rows, RowStep(a),
                a.image.columns, static_cast<double>(s.settings.fVelStep * 1000.0f),
                static_cast<double>(s.settings.fVelMin * 1000.0f));
  out += "picks (Hz, m/s, value; \"unresolved\": wavelength outside the spread's band, \"none\": no pick):\n";
  for (const CurvePoint& p : a.curve) {
    out += Printf("  %8.3f %8.1f %8.4f%s\n", p.frequency, static_cast<double>(p.velocity), static_cast<double>(p.value),
                  !p.picked ? "  none" : p.resolved ? "" : "  unresolved");
  }
  out += a.model ? "layers (top m, bottom m, Vs m/s) from the resolved picks of wavelength 2 to 46 m, 4.5 Hz or more:\n"
                 : "no resolved pick fits the model (wavelength 2 to 46 m, 4.5 Hz or more); layers:\n";
  for (int i = 0; i < s.result.nLayers; ++i) {
    const bool halfSpace = i == s.result.nLayers - 1;
    out += halfSpace ? Printf("  %8.3f half-space %8.1f\n", static_cast<double>(LayerTop(s.result, i)),
                              static_cast<double>(s.result.fVs[i]))
                     : Printf("  %8.3f %8.3f %8.1f\n", static_cast<double>(LayerTop(s.result, i)),
                              static_cast<double>(s.result.fLayerBottom[i]), static_cast<double>(s.result.fVs[i]));
  }
  return out;
}

std::string CombinedText(size_t shots, const std::vector<CombinedPoint>& combined) {
  std::string out = Printf("combined curve of %zu shots (Hz, mean m/s, standard deviation m/s, shots):\n", shots);
  for (const CombinedPoint& p : combined) {
    out += Printf("  %8.3f %8.1f %8.1f %3d\n", p.frequency, p.velocity, p.std, p.count);
  }
  if (combined.empty()) out += "  none: no frequency has enough resolved picks\n";
  return out;
}

}  // namespace zentrova
