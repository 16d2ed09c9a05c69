#pragma once
// The dispersion curves of the shots of one line in one picture: frequency
// to the right, phase velocity upward. Each shot's picks are small markers
// in a colour of its own (resolved picks filled, picks outside the resolved
// band hollow); the combined curve's mean is a line over a band of plus and
// minus one standard deviation; a legend names the shots and a title line
// says what is shown.

#include <iterator>
#include <string>
#include <vector>

#include "display/drawing_surface.h"
#include "surfacewave/combined_curve.h"
#include "surfacewave/dispersion_curve.h"

namespace zentrova {

struct ShotCurve {
  std::string label;  // the shot's name in the legend
  DispersionCurve curve;
};

// Draws onto the whole drawing area. Rows without a pick and values that
// are not finite are left out; `combined` empty: no line and no band. The
// band and the line are broken where the combined curve skips frequencies.
// The legend goes into the corner of the plot that covers the fewest
// points.
void DrawDispersionCurves(DrawingSurface& surface, const std::vector<ShotCurve>& shots,
                          const std::vector<CombinedPoint>& combined);

// The shots take these colours in turn; none of them is the line's or the
// band's.
inline constexpr Rgb kShotColours[] = {{31, 119, 180}, {255, 127, 14},  {44, 160, 44},
                                       {148, 103, 189}, {140, 86, 75},  {227, 119, 194},
                                       {127, 127, 127}, {188, 189, 34}, {23, 190, 207}};
inline constexpr Rgb kCombinedLineColour{214, 39, 40};
inline constexpr Rgb kCombinedBandColour{245, 185, 185};

constexpr Rgb ShotColour(size_t shot) { return kShotColours[shot % std::size(kShotColours)]; }

// Radius of a pick's marker, page units.
inline constexpr int kCurveMarkerRadius = 7;

}  // namespace zentrova
