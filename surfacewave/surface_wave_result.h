#pragma once
// The results of one surface-wave follow-up of the monitor cycle: the
// amplitude profile of the record, the picked dispersion curve and the
// layered S-wave model. One fixed block of 6151 32-bit words; the profile
// view keeps copies of it and the XML document is filled from it.

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

namespace zentrova {

inline constexpr int kMaxAmpTraces = 512;
inline constexpr int kMaxPicks = 512;
inline constexpr int kMaxLayers = 1024;
// Bottom depth of the last layer, the half-space, m.
inline constexpr float kHalfSpaceBottom = 10000000.0f;

struct SurfaceWaveResult {
  int32_t nAmpTraces = 0;                             // traces in the amplitude profile
  std::array<float, kMaxAmpTraces> fLogAmplitude{};  // log10 of each trace's fMaxAmplitude; see HasLogAmplitude
  std::array<float, kMaxAmpTraces> fPosition{};      // receiver location (nReceiverLoc / 100)
  int32_t nPicks = 0;                                 // picked dispersion points
  std::array<float, kMaxPicks> fPickFrequency{};     // Hz
  std::array<float, kMaxPicks> fPickVelocity{};      // phase velocity, m/s
  int32_t nLayers = 0;                                // layers of the model (the cycle sets 15)
  std::array<float, kMaxLayers> fVp{};               // P-wave velocity per layer (XML document)
  std::array<float, kMaxLayers> fVs{};               // S-wave velocity per layer, m/s
  std::array<float, kMaxLayers> fLayerBottom{};      // bottom depth, m; half-space kHalfSpaceBottom
  std::array<float, kMaxLayers> fDensity{};          // density per layer (XML document)
  float fPosMin = 0.0f;
  float fPosMax = 0.0f;
  float fLogAmpMin = 0.0f;
  float fLogAmpMax = 0.0f;
};

// A log amplitude that is no number: a silent trace's (log10 of 0 is -inf,
// also not finite), or the extremes of a record with no trace that has one.
inline constexpr float kNoLogAmplitude = std::numeric_limits<float>::quiet_NaN();
inline bool HasLogAmplitude(float logAmplitude) { return std::isfinite(logAmplitude); }

static_assert(sizeof(SurfaceWaveResult) == 6151 * 4, "one block of 6151 32-bit words");

}  // namespace zentrova
