#pragma once
// The analysed records side by side: copies of the last results of the
// surface-wave follow-up, oldest first, and the vertical and colour ranges
// of the three modes of the profile picture.
//
// Threads: the follow-up appends on the cycle's thread while it holds the
// document's lock; whoever reads the list from another thread (a window
// drawing it) holds the document's lock too.

#include <array>
#include <deque>

#include "surfacewave/dispersion_settings.h"
#include "surfacewave/surface_wave_result.h"

namespace zentrova {

struct ModeRange {
  float fAxisMin = 0.0f;    // vertical range of the plot
  float fAxisMax = 0.0f;
  float fColourMin = 0.0f;  // colour range
  float fColourMax = 0.0f;
};

// The modes of the profile picture.
inline constexpr int kAmplitudeMode = 0;
inline constexpr int kPhaseVelocityMode = 1;
inline constexpr int kShearVelocityMode = 2;
inline constexpr int kProfileModes = 3;

class ProfileList {
 public:
  // Appends a copy, drops the oldest beyond nMaxShots, recomputes range[0]
  // over the entries (the colours over the entries' log amplitudes, none
  // taken from an entry without any: 0 .. 0 when no entry has one); returns
  // the number of entries.
  int AppendResult(const SurfaceWaveResult& result);
  int Count() const { return static_cast<int>(results.size()); }

  // range[1] after the picks: fFreqMin .. fFreqMax, colours fVelMin .. fVelEnd in m/s.
  void SetPickRange(const DispersionSettings& settings);
  // range[2] after the model: 0 .. 15 m, colours fVelMin .. fVelEnd in m/s.
  void SetModelRange(const DispersionSettings& settings);

  std::deque<SurfaceWaveResult> results;  // oldest first
  int nMaxShots = 20;
  float fShotMin = 0.0f;
  float fShotMax = 20.0f;
  std::array<ModeRange, kProfileModes> range{
      ModeRange{0.0f, 0.0f, 0.0f, 0.0f}, ModeRange{0.0f, 10000.0f, 0.0f, 6000.0f},
      ModeRange{0.0f, 5000.0f, 0.0f, 3000.0f}};
};

// Depth of the model's scale, m: the vertical range of mode 2.
inline constexpr float kModelDepthScale = 15.0f;

}  // namespace zentrova
