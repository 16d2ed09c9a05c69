#pragma once
// The measured curve the inversion takes from the dispersion analysis.
//
// Several shots of one line: their combined curve, each point's sigma the
// shots' standard deviation but at least kCombinedSigmaFloor of the
// velocity (three to five shots give a spread that is itself uncertain,
// and can be 0 where they agree). One shot: its resolved picks with a
// sigma of kShotSigma of the velocity, the spread MASW practice finds
// between the shots of one line.

#include <vector>

#include "inversion/observed_curve.h"
#include "surfacewave/combined_curve.h"
#include "surfacewave/dispersion_curve.h"

namespace zentrova {

inline constexpr double kShotSigma = 0.05;
inline constexpr double kCombinedSigmaFloor = 0.02;

ObservedCurve CurveOfShot(const DispersionCurve& curve);
ObservedCurve CurveOfLine(const std::vector<CombinedPoint>& combined);

}  // namespace zentrova
