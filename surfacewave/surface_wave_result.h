#pragma once
// The result of one surface-wave analysis: the amplitude profile, the
// picked dispersion curve and the layered model, as one plain block.

#include <array>
#include <cstdint>

namespace zentrova {

struct SurfaceWaveResult {
  int32_t nAmpTraces = 0;
  std::array<float, 512> fLogAmplitude{};
  std::array<float, 512> fPosition{};
  int32_t nPicks = 0;
  std::array<float, 512> fPickFrequency{};  // Hz
  std::array<float, 512> fPickVelocity{};   // m/s
  int32_t nLayers = 0;
  std::array<float, 1024> fVp{};
  std::array<float, 1024> fVs{};           // m/s
  std::array<float, 1024> fLayerBottom{};  // m; the half-space 10000000
  std::array<float, 1024> fDensity{};
  float fPosMin = 0.0f;
  float fPosMax = 0.0f;
  float fLogAmpMin = 0.0f;
  float fLogAmpMax = 0.0f;
};

}  // namespace zentrova
