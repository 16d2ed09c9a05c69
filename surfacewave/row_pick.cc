#include "surfacewave/row_pick.h"

#include <algorithm>
#include <cmath>

namespace zentrova {
namespace {

// On a line off any even grid a maximum below the resolved velocities
// counts as larger only beyond this share: the slow columns sample a peak
// more finely in slowness than the fast ones (the columns are equally
// spaced in velocity), so a near-repetition may come out a little higher.
constexpr float kBelowSpacingMargin = 0.05f;
// Repetitions of a family kept for the path: the curve never jumps more.
constexpr int kFamilyMembers = 4;
// A peak other than the row's largest counts only when it stands out: above
// the row at a tenth slower and a tenth faster by this share of the largest.
constexpr double kPeakWidth = 0.1;
constexpr float kPeakStandOut = 0.05f;

// The velocity of column k as the stack takes it (0 is taken as 0.1 m/s).
double ColumnVelocity(const PickRange& range, int k) {
  const double v = range.velocityMin + k * range.velocityStep;
  return v == 0.0 ? 0.1 : v;
}

// The column nearest a velocity, within the row.
int ColumnNear(const PickRange& range, int columns, double velocity) {
  const double k = std::round((velocity - range.velocityMin) / range.velocityStep);
  return static_cast<int>(std::clamp(k, 0.0, static_cast<double>(columns - 1)));
}

// Whether the peak at column k stands out of the row around it.
bool StandsOut(const float* row, int columns, const PickRange& range, int k, float largest) {
  const double v = ColumnVelocity(range, k);
  const float around = std::fmax(std::fabs(row[ColumnNear(range, columns, v * (1.0 - kPeakWidth))]),
                                 std::fabs(row[ColumnNear(range, columns, v * (1.0 + kPeakWidth))]));
  return std::fabs(row[k]) - around >= kPeakStandOut * largest;
}

// The column nearest `velocity` at `slowest` or more; -1 when the velocity
// lies outside the image.
int ColumnOf(const PickRange& range, int columns, double velocity, double slowest) {
  if (!(range.velocityStep > 0.0) || !std::isfinite(velocity)) return -1;
  const double k = std::round((velocity - range.velocityMin) / range.velocityStep);
  if (k < 0.0 || k > columns - 1) return -1;
  int column = static_cast<int>(k);
  if (ColumnVelocity(range, column) < slowest) ++column;
  return column < columns ? column : -1;
}

void AddEvenGridFamily(const float* row, int columns, double frequency, const PickRange& range, int largest,
                       RowOffer& offer) {
  offer.period = 1.0 / (frequency * range.aliasSpacing);
  double first = std::fmod(1.0 / ColumnVelocity(range, largest), offer.period);
  // Within one resolution width of the spread (1 / (f L) in slowness) below
  // a whole period, the peak is the repetition of one at slowness 0 (no
  // moveout, an infinite velocity) just as much: taken so, it lies beyond
  // the image. It costs the wavelengths from dx to dx (1 + dx / L).
  if (range.spreadLength > 0.0 && first > offer.period - 1.0 / (frequency * range.spreadLength)) {
    first = std::fmax(first - offer.period, 0.0);
  }
  const int column = first > 0.0 ? ColumnOf(range, columns, 1.0 / first, frequency * range.smallestSpacing) : -1;
  const float value = std::fabs(row[largest]);
  // The column nearest the first member may sample the peak more coarsely
  // than the slow columns sample its repetitions: the family keeps the value.
  offer.members.push_back({first, first, column, value});
  for (int n = 1; n < kFamilyMembers; ++n) offer.members.push_back({first + n * offer.period, first, -1, value});
}

// The first column of the largest value at `slowest` or more; -1 for none.
int LargestResolved(const float* row, int columns, const PickRange& range, double slowest) {
  int best = -1;
  for (int k = 0; k < columns; ++k) {
    if (ColumnVelocity(range, k) >= slowest && (best < 0 ? row[k] != 0.0f : std::fabs(row[k]) > std::fabs(row[best]))) {
      best = k;
    }
  }
  return best;
}

void AddUnevenLineMember(const float* row, int columns, double frequency, const PickRange& range, int largest,
                         RowOffer& offer) {
  const int best = LargestResolved(row, columns, range, frequency * range.smallestSpacing);
  const float top = std::fabs(row[largest]);
  if (best < 0 || top > std::fabs(row[best]) * (1.0f + kBelowSpacingMargin)) {
    const double slowness = 1.0 / ColumnVelocity(range, largest);
    offer.members.push_back({slowness, slowness, -1, top});
  } else {
    const double slowness = 1.0 / ColumnVelocity(range, best);
    offer.members.push_back({slowness, slowness, best, std::fabs(row[best])});
  }
}

// Every other peak (a column above both neighbours, or at the row's ends
// above its one neighbour) at a resolved velocity and of a sizeable share.
void AddSecondPeaks(const float* row, int columns, double frequency, const PickRange& range, RowOffer& offer) {
  const double slowest = frequency * range.smallestSpacing;
  for (int k = 0; k < columns; ++k) {
    const float value = std::fabs(row[k]);
    if (value < kSecondPeakShare * offer.largest || ColumnVelocity(range, k) < slowest) continue;
    if ((k > 0 && std::fabs(row[k - 1]) >= value) || (k + 1 < columns && std::fabs(row[k + 1]) > value)) continue;
    if (k == offer.members.front().column || !StandsOut(row, columns, range, k, offer.largest)) continue;
    const double slowness = 1.0 / ColumnVelocity(range, k);
    offer.members.push_back({slowness, slowness, k, value});
  }
}

}  // namespace

int PeakWithin(const float* row, int columns, double frequency, const PickRange& range, double low, double high) {
  const double slowest = frequency * range.smallestSpacing;
  float largest = 0.0f;
  for (int k = 0; k < columns; ++k) largest = std::fmax(largest, std::fabs(row[k]));
  int best = -1;
  for (int k = 1; k + 1 < columns; ++k) {
    const double v = ColumnVelocity(range, k);
    const float value = std::fabs(row[k]);
    if (v < low || v > high || v < slowest || !(value > 0.0f)) continue;
    if (std::fabs(row[k - 1]) >= value || std::fabs(row[k + 1]) > value) continue;
    if (!StandsOut(row, columns, range, k, largest)) continue;
    if (best < 0 || value > std::fabs(row[best])) best = k;
  }
  return best;
}

bool ResolvedWavelength(double wavelength, const PickRange& range) {
  // The MASW acquisition rules (Park, Miller & Xia 1999, Geophysics 64(3),
  // 800-808; Park & Carnevale 2010, "Optimum MASW survey - revisit after a
  // decade of use", GeoFlorida 2010): the shortest wavelength a spread
  // measures is about its receiver spacing, the longest about its length.
  return range.smallestSpacing > 0.0 && wavelength >= range.smallestSpacing && wavelength <= range.spreadLength;
}

RowOffer OfferRow(const float* row, int columns, double frequency, const PickRange& range) {
  RowOffer offer;
  int largest = -1;
  for (int k = 0; k < columns; ++k) {
    if (std::fabs(row[k]) > offer.largest) {
      offer.largest = std::fabs(row[k]);
      largest = k;
    }
  }
  if (largest < 0 || !(frequency > 0.0)) return offer;
  if (range.aliasSpacing > 0.0) {
    AddEvenGridFamily(row, columns, frequency, range, largest, offer);
  } else {
    AddUnevenLineMember(row, columns, frequency, range, largest, offer);
  }
  AddSecondPeaks(row, columns, frequency, range, offer);
  return offer;
}

}  // namespace zentrova
