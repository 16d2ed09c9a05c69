#pragma once
// zentrova-seg2 plot FILE OUT.png [--view waveform|phase-velocity|profile]
//                [--normalize] [--events [detection options]] [--by-offset] [--size WxH]
// zentrova-seg2 plot FILE... OUT.png --view dispersion-curve [--size WxH]
//
// Renders a record as the views draw it into a PNG file: by default the
// waveform picture at the event image's 666 x 333 pixels; --events runs the
// detector with the station's stored parameters, or those the detection
// options give (detection_options.h, as `detect` takes them), and draws its markers;
// --by-offset places each trace at its receiver's offset from the source;
// phase-velocity and profile run the surface-wave analysis with the stored
// settings first (1000 x 750 pixels by default); dispersion-curve analyses
// every record, all shots of one line, and draws the shots' picks, with two
// or more shots their combined curve too (1000 x 750). The station's stored
// settings are read, never written; the analysis' text files are not kept.

#include <string>
#include <vector>

#include "platform/file_system.h"

namespace zentrova {

// args[0] is "plot". Returns 0 when the picture was written, 1 otherwise
// (its reason in one line on standard error).
int PlotCommand(FileSystem& fs, const std::vector<std::string>& args);

inline constexpr int kMinPlotPixels = 16;
inline constexpr int kMaxPlotPixels = 10000;

}  // namespace zentrova
