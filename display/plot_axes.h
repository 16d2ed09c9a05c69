#pragma once
// The axis descriptor of one plot: ranges, tick steps, scales (page units
// per axis unit) and titles. A plot sets ranges and steps from its data at
// every redraw; titles and flags are set once when the plot is created.

#include <string>

namespace zentrova {

class PlotAxes {
 public:
  int nXTicks = 0;
  float fXMin = 0.0f;
  float fXMax = 0.0f;
  float fXStep = 0.0f;
  float fXFirst = 0.0f;
  float fXScale = 0.0f;
  std::string strXTitle;
  int bXTitle = 0;
  int nYTicks = 0;
  float fYMin = 0.0f;
  float fYMax = 0.0f;
  float fYStep = 0.0f;
  float fYFirst = 0.0f;
  float fYScale = 0.0f;
  std::string strYTitle;
  int bYTitle = 0;
  // 1: fYMin at the frame's top edge, values growing downward.
  int bYDown = 0;
  // The horizontal axis' values are dXOrigin plus the ones above: a time
  // axis far from 0 (a record of a large delay) keeps its sub-second steps,
  // which a float of the whole time would round away. 0 for every other plot.
  double dXOrigin = 0.0;
};

}  // namespace zentrova
