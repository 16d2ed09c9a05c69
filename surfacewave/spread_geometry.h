#pragma once
// Where the receivers of a shot lie: each trace's distance along the line
// from the source end, the smallest spacing between receivers, the length
// of the spread, and how the source end was told.

#include <vector>

namespace zentrova {

struct ReceiverPlace {
  float position = 0.0f;     // receiver location, m
  float source = 0.0f;       // source location the trace carries, m
  bool sourceGiven = false;  // the record gives it (else it is no location)
};

struct SpreadGeometry {
  std::vector<double> distance;  // per trace, m from the source end of the line
  int direction = 0;             // 0 the first trace is the source end, 1 the last
  bool fromSource = false;       // told by a source location outside the spread
  double smallestSpacing = 0.0;  // m between the two nearest distinct receivers (0: fewer than two)
  double length = 0.0;           // m from the first receiver of the line to the last
  // The smallest spacing when every receiver lies a whole number of such
  // spacings from every other (an evenly spaced line, or one whose spacings
  // are multiples of the smallest): the image then repeats exactly in
  // slowness every 1 / (f x this). 0 for any other line.
  double aliasSpacing = 0.0;
};

// `places` in the order of the traces (at least one). A source location
// the first trace carries (given by the record) that lies outside the
// spread names the source end: the nearer end, and distances are measured
// from the source itself.
// Otherwise `louderDirection` (0 when the first trace is the louder end,
// 1 when the last is) decides, and distances are measured from that end's
// receiver.
SpreadGeometry MeasureSpread(const std::vector<ReceiverPlace>& places, int louderDirection);

}  // namespace zentrova
