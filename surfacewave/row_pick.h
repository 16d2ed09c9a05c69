#pragma once
// What one row of the dispersion image offers as a pick: the slownesses at
// which the row's peaks lie, as far as the spread can tell them apart.
//
// With receivers on an even grid of spacing dx, the stack is periodic in
// slowness: every velocity v' with f dx (1/v' - 1/v) a whole number stacks
// to exactly the value of v. Of such a family one member has a wavelength
// of dx or more (a velocity of f dx or more); all others are slower, with
// wavelengths shorter than the spacing, which the spread cannot sample.
// Which member the wave really has, the row alone cannot tell: the members
// go to the curve's path (see ChooseCurvePath), and only a member at a
// velocity the spread resolves becomes a pick.

#include <vector>

namespace zentrova {

struct PickRange {
  double velocityMin = 0.0;      // m/s, the first column
  double velocityStep = 0.0;     // m/s between columns
  double smallestSpacing = 0.0;  // m, the nearest receivers of the spread
  double aliasSpacing = 0.0;     // m, the even grid of the receivers; 0 for none
  double spreadLength = 0.0;     // m
};

// One place the curve may pass through a row.
struct RowMember {
  double slowness = 0.0;   // s/m
  double principal = 0.0;  // s/m, the family's member at a resolved velocity (the slowness itself off a family)
  int column = -1;        // the pick it gives; -1: none (slower than the spacing, or outside the image)
  float value = 0.0f;      // the value of its peak (of a family: the value its members share)
};

struct RowOffer {
  // First the family of the row's (first) largest value: its member at a
  // velocity of f x smallest spacing or more, then its slower repetitions.
  // Then every other peak at such a velocity of at least kSecondPeakShare of
  // the largest value. Empty when the row has no positive value or its
  // frequency is 0.
  std::vector<RowMember> members;
  double period = 0.0;  // s/m by which the families repeat; 0 off an even grid
  float largest = 0.0f;  // the row's largest value
};

// A peak that is not the row's largest takes part down to this share of it.
inline constexpr float kSecondPeakShare = 0.3f;

// On a line off any even grid there are no exact repetitions: the first
// member is the first column of the largest value at a velocity of f x
// smallest spacing or more, unless the row's maximum below that velocity is
// larger by more than the sampling of the velocity axis explains; then the
// one member of that family lies there and is no pick.
RowOffer OfferRow(const float* row, int columns, double frequency, const PickRange& range);

// The column of the largest peak (a column above both neighbours) with a
// velocity from `low` to `high` m/s and of f x smallest spacing or more; -1
// for none.
int PeakWithin(const float* row, int columns, double frequency, const PickRange& range, double low, double high);

// Whether a wavelength (m) lies in the band a spread measures reliably:
// from the receiver spacing up to the spread length.
bool ResolvedWavelength(double wavelength, const PickRange& range);

}  // namespace zentrova
