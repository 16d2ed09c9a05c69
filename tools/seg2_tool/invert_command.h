#pragma once
// zentrova-seg2 invert FILE... [--json] [--models N] [--seed N] [--layers N]
// zentrova-seg2 invert --curve CSV [--json] [--models N] [--seed N] [--layers N]
//
// The shear-wave profile and Vs30 of a dispersion curve: of the records'
// analysis with the stored settings (as the dispersion command makes it:
// one shot's resolved picks, or the combined curve of several shots of
// one line), or of a CSV file whose first line is "frequency,velocity,sigma"
// (Hz, m/s, m/s). Writes no file.

#include <string>
#include <vector>

#include "inversion/observed_curve.h"
#include "inversion/vs_profile.h"
#include "platform/file_system.h"

namespace zentrova {

// args[0] is "invert". Returns 0 with a profile, 1 when the records or the
// curve could not be read or the curve was refused (the reason in one line
// on standard error), 2 for a usage error (the reason; the caller adds the
// usage).
int InvertCommand(FileSystem& fs, const std::vector<std::string>& args, std::string& usageError);

// The curve of a CSV text; empty `why` when it was read.
ObservedCurve ReadCurveCsv(const std::string& text, std::string& why);

// {"layers": [{"top", "bottom" (null for the half-space), "vs", "vp",
// "density", "vs_min", "vs_max"}...], "misfit", "accept_misfit", "vs30",
// "vs30_min", "vs30_max", "vs30_extrapolated", "resolved_depth",
// "models_tried", "models_accepted", "seed", "stopped", "curve":
// [{"frequency", "velocity", "sigma", "model"}...]}.
std::string ProfileJson(const VsProfile& p);
std::string ProfileText(const VsProfile& p);

}  // namespace zentrova
