#pragma once
// A measured dispersion curve for the inversion: phase velocity against
// frequency with each point's standard deviation.

#include <string>
#include <vector>

namespace zentrova {

struct ObservedPoint {
  double frequency = 0.0;  // Hz
  double velocity = 0.0;   // phase velocity, m/s
  double sigma = 0.0;      // standard deviation of the velocity, m/s
};

using ObservedCurve = std::vector<ObservedPoint>;

inline constexpr int kMinCurvePoints = 4;
inline constexpr int kMaxCurvePoints = 1024;
// Velocities of one curve spanning more than this factor are not one mode
// of real ground (a mode jump, or a pick on noise).
inline constexpr double kMaxVelocitySpan = 6.0;
// Nor are ones that vary by less than this fraction: a flat curve says
// nothing about how the ground changes with depth.
inline constexpr double kMinVelocitySpan = 0.01;

// Empty when the curve can be inverted; otherwise why not, in one line: fewer
// than kMinCurvePoints points or more than kMaxCurvePoints, a value that is
// no number or not positive (sigma 0 included), a frequency given twice, a
// flat curve, velocities spanning more than kMaxVelocitySpan.
std::string CheckCurve(const ObservedCurve& curve);

// The points in order of frequency.
ObservedCurve SortedByFrequency(ObservedCurve curve);

// At most `count` points spread evenly over the sorted curve's index
// range, its first and last among them (the whole curve when it has no
// more).
ObservedCurve Thinned(const ObservedCurve& sorted, int count);

// Wavelengths v / f of the curve: the shortest and the longest.
double ShortestWavelength(const ObservedCurve& curve);
double LongestWavelength(const ObservedCurve& curve);

}  // namespace zentrova
