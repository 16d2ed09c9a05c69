#pragma once
// The dispersion analysis of one or more shots of one line, as the record
// tool runs it: each record read and analysed with the same settings, the
// shots' curves combined when there are several.

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "tools/seg2_tool/dispersion_report.h"

namespace zentrova {

struct LineAnalysis {
  std::vector<ShotReport> shots;
  std::vector<CombinedPoint> combined;  // with two or more shots
  std::string error;                    // one line; empty when every shot was analysed
};

// `filesFolder` empty: no text file is written. Otherwise each shot's
// "PickPhaseVelocity.txt" and "initial_model.txt" go into it (one shot) or
// into a folder per shot inside it, named after the record's file name
// ("_2" and so on added to a name already taken), once every shot has been
// analysed. A record that cannot be read or analysed, that does not belong
// to the line of the first (another trace count or sample interval), or
// that is given twice, ends the analysis with its reason, as does a text
// file that cannot be written.
LineAnalysis AnalyseLine(FileSystem& fs, const DispersionSettings& settings, const std::vector<std::string>& files,
                         const std::string& filesFolder);

}  // namespace zentrova
