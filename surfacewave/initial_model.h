#pragma once
// A layered S-wave model from the dispersion curve: each pick stands for
// the depth of a third of its wavelength, each layer takes the mean
// velocity of the picks within it, divided by the Rayleigh-to-shear ratio.

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "surfacewave/dispersion_curve.h"
#include "surfacewave/surface_wave_result.h"

namespace zentrova {

inline constexpr const char* kModelFileName = "initial_model.txt";
inline constexpr float kRayleighToShear = 0.925f;

// Bottom depths of n layers (n >= 3) over the 15 m depth scale, before the
// last one becomes the half-space.
std::vector<double> LayerDepths(int n);

// Whether a pick is used for the model: wavelength 2 to 46 m, at least 4.5 Hz.
bool AcceptedPick(float frequency, float velocity);

// Fills fVs and fLayerBottom for result.nLayers layers (limited to 3 ..
// 1024) from the picks and, when `folder` is not empty, writes
// "initial_model.txt" there. With `curve` (one point per pick), only its
// resolved points are used. Returns 1; 0 when no pick was accepted, and
// then every layer has velocity 0 (no model).
int BuildInitialModel(SurfaceWaveResult& result, FileSystem& fs, const std::string& folder,
                      const DispersionCurve* curve = nullptr);

}  // namespace zentrova
